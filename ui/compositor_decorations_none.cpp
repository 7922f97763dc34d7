#include "ui/compositor_decorations.h"

#include <QPoint>
#include <QWindow>

namespace quaverline {

// Windows draws every title bar itself.
bool DesktopDrawsTitleBar() { return true; }

bool ShowWindowMenu(QWindow&, QPoint) { return false; }

}  // namespace quaverline
