#include "ui/compositor_decorations.h"

#include <QGuiApplication>
#include <QPoint>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client.h>

#include <cstring>

namespace quaverline {

namespace {

void OnGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
  if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0) *static_cast<bool*>(data) = true;
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kListener = {OnGlobal, OnGlobalRemove};

// Asks the compositor on a connection of its own, which is gone again before Qt's window exists.
bool CompositorOffersDecorations() {
  wl_display* display = wl_display_connect(nullptr);
  if (!display) return true;
  bool offered = false;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kListener, &offered);
  wl_display_roundtrip(display);
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  return offered;
}

// xdg_toplevel's request show_window_menu(seat, serial, x, y).
constexpr uint32_t kShowWindowMenu = 4;

}  // namespace

bool DesktopDrawsTitleBar() {
  if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return true;
  if (qEnvironmentVariableIsSet("QT_WAYLAND_DECORATION") || qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION"))
    return true;
  return CompositorOffersDecorations();
}

bool ShowWindowMenu(QWindow& window, QPoint at) {
  if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return false;
  QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
  if (!native) return false;
  auto* toplevel = static_cast<wl_proxy*>(native->nativeResourceForWindow("xdg_toplevel", &window));
  auto* seat = native->nativeResourceForIntegration("wl_seat");
  // The serial of the input event that asks for the menu: the press being handled.
  const auto serial = uint32_t(reinterpret_cast<quintptr>(native->nativeResourceForIntegration("serial")));
  if (!toplevel || !seat || serial == 0) return false;
  wl_proxy_marshal_flags(toplevel, kShowWindowMenu, nullptr, wl_proxy_get_version(toplevel), 0, seat, serial,
                         int32_t(at.x()), int32_t(at.y()));
  return true;
}

}  // namespace quaverline
