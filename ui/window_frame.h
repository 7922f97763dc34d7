// The frame the desktop draws around the window, its title bar and borders: it counts when the
// window is fitted into the work area and centred there.
#pragma once

#include <QMargins>

class QWidget;

namespace quaverline {

// Asked of the desktop before the window is shown where it can tell: the X11 window manager
// through _NET_REQUEST_FRAME_EXTENTS (none without a window manager), Windows from the window's
// style. A Wayland compositor cannot be asked: its decorations are taken to be a typical title
// bar and borders, and none where the window draws its own title bar. In logical pixels.
QMargins DesktopFrame(QWidget& window, bool ownTitleBar);

}  // namespace quaverline
