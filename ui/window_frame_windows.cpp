#include "ui/window_frame.h"

#include <QWidget>
#include <QWindow>

namespace quaverline {

// Windows knows a window's frame from its style as soon as the window exists.
QMargins DesktopFrame(QWidget& window, bool) {
  window.winId();
  return window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
}

}  // namespace quaverline
