// A title bar of the window's own, with the icon, the title and a close button only. Used where
// Qt would draw the title bar itself (Wayland without server-side decorations, as on GNOME): Qt's
// own draws minimise and maximise buttons whatever the window's flags.
#pragma once

#include <QWidget>

namespace quaverline {

class TitleBar : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kHeight = 30;

  explicit TitleBar(QWidget* window);

  // Where the close button lies, in the bar's coordinates.
  QRect CloseButton() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressedOnClose_ = false;
};

}  // namespace quaverline
