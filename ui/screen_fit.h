// Keeps the window fitted to the screen it is on: at start, and again whenever that screen's size
// or work area changes or the window goes to another screen. On X11 the window is centred again
// once its window manager has framed it, where the frame is not the one it said it would draw
// (some only say so once the window is shown) or the place was taken for the frame's own.
#pragma once

#include <QMargins>
#include <QObject>
#include <QTimer>

class QScreen;

namespace quaverline {

class Form1;

class ScreenFit : public QObject {
  Q_OBJECT
 public:
  // Asks the desktop for the window's frame and fits the window; before it is shown.
  explicit ScreenFit(Form1& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Follow(QScreen* screen);
  void Fit();
  QRect Area() const;
  void CentreOnceFramed();

  Form1& window_;
  QMargins frame_;
  QScreen* screen_ = nullptr;
  // After the window is shown on X11: until the window manager has framed it.
  QTimer framedCheck_;
  int checks_ = 0;
};

}  // namespace quaverline
