#include "ui/compositor_decorations.h"

namespace quaverline {

// Windows draws every title bar itself.
bool DesktopDrawsTitleBar() { return true; }

bool ShowWindowMenu(QWindow&, QPoint) { return false; }

}  // namespace quaverline
