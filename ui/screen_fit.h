// Keeps the window fitted to the screen it is on: at start, and again whenever that screen's size
// or work area changes or the window goes to another screen.
#pragma once

#include <QMargins>
#include <QObject>

class QScreen;

namespace quaverline {

class Form1;

class ScreenFit : public QObject {
  Q_OBJECT
 public:
  // Asks the desktop for the window's frame and fits the window; before it is shown.
  explicit ScreenFit(Form1& window);

 private:
  void Follow(QScreen* screen);
  void Fit();

  Form1& window_;
  QMargins frame_;
  QScreen* screen_ = nullptr;
};

}  // namespace quaverline
