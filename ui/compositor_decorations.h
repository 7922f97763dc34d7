// Whether the desktop draws the window's title bar. On Wayland the compositor does so only for
// windows that ask through the xdg-decoration protocol, which not every compositor offers
// (GNOME's does not); Qt then draws one itself.
#pragma once

class QPoint;
class QWindow;

namespace quaverline {

// True on X11 and Windows, and on a Wayland compositor that offers server-side decorations, or
// where the user chose Qt's decoration (QT_WAYLAND_DECORATION) or none
// (QT_WAYLAND_DISABLE_WINDOWDECORATION). Call after the application object exists.
bool DesktopDrawsTitleBar();

// Opens the compositor's window menu for the window at that point of it, as its own title bars
// do on a right click (xdg_toplevel.show_window_menu). False where the platform has none.
bool ShowWindowMenu(QWindow& window, QPoint at);

}  // namespace quaverline
