#include "ui/compositor_decorations.h"

#include <QGuiApplication>
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

}  // namespace

bool DesktopDrawsTitleBar() {
  if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return true;
  if (qEnvironmentVariableIsSet("QT_WAYLAND_DECORATION") || qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION"))
    return true;
  return CompositorOffersDecorations();
}

}  // namespace quaverline
