// A title bar of the window's own, with the icon, the title and a close button only, and a thin
// edge around the whole window. Used where Qt would draw the title bar itself (Wayland without
// server-side decorations, as on GNOME): Qt's own draws minimise and maximise buttons whatever the
// window's flags.
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
  // Whether the bar was last drawn as the active window's, as the desktop's own title bars are:
  // a dark title on the active window, a dimmed one on the others.
  bool DrawnActive() const { return drawnActive_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressedOnClose_ = false;
  bool drawnActive_ = false;
};

// A one-pixel line along the window's edge, above everything in it, so that a window without a
// compositor's border or shadow stands out from a light background. Follows the window's size.
class WindowEdge : public QWidget {
  Q_OBJECT
 public:
  explicit WindowEdge(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quaverline
