// Pointer and keys on a headless wlroots compositor (sway), which has no input devices of its own:
// one virtual pointer and one virtual keyboard, alive for the whole sequence so that the seat's
// capabilities stay put while the program reacts.
//   wl_input move X Y | click left|right | key down|up|enter|escape | wait MS ...
// X and Y are layout coordinates; the layout's size comes from WL_INPUT_EXTENT ("1280x800").
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

// zwlr_virtual_pointer_unstable_v1 and zwp_virtual_keyboard_unstable_v1, the requests used here
// in their protocols' order, which gives the opcodes.
const wl_message kPointerRequests[] = {
    {"motion", "uff", nullptr},        {"motion_absolute", "uuuuu", nullptr}, {"button", "uuu", nullptr},
    {"axis", "uuf", nullptr},          {"frame", "", nullptr},                {"axis_source", "u", nullptr},
    {"axis_stop", "uu", nullptr},      {"axis_discrete", "uufi", nullptr},    {"destroy", "", nullptr},
};
const wl_interface kPointer = {"zwlr_virtual_pointer_v1", 1, 9, kPointerRequests, 0, nullptr};
const wl_interface* kCreatePointerTypes[] = {&wl_seat_interface, &kPointer};
const wl_message kPointerManagerRequests[] = {
    {"create_virtual_pointer", "?on", kCreatePointerTypes},
    {"destroy", "", nullptr},
};
const wl_interface kPointerManager = {"zwlr_virtual_pointer_manager_v1", 1, 2, kPointerManagerRequests, 0, nullptr};
enum { kMotionAbsolute = 1, kButton = 2, kFrame = 4, kPointerDestroy = 8, kPointerManagerDestroy = 1 };

const wl_message kKeyboardRequests[] = {
    {"keymap", "uhu", nullptr},
    {"key", "uuu", nullptr},
    {"modifiers", "uuuu", nullptr},
    {"destroy", "", nullptr},
};
const wl_interface kKeyboard = {"zwp_virtual_keyboard_v1", 1, 4, kKeyboardRequests, 0, nullptr};
const wl_interface* kCreateKeyboardTypes[] = {&wl_seat_interface, &kKeyboard};
const wl_message kKeyboardManagerRequests[] = {{"create_virtual_keyboard", "on", kCreateKeyboardTypes}};
const wl_interface kKeyboardManager = {"zwp_virtual_keyboard_manager_v1", 1, 1, kKeyboardManagerRequests, 0, nullptr};
enum { kKeymap = 0, kKey = 1, kKeyboardDestroy = 3 };

struct Globals {
  wl_seat* seat = nullptr;
  wl_proxy* pointerManager = nullptr;
  wl_proxy* keyboardManager = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  auto* globals = static_cast<Globals*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat)
    globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  else if (std::strcmp(interface, kPointerManager.name) == 0)
    globals->pointerManager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kPointerManager, 1));
  else if (std::strcmp(interface, kKeyboardManager.name) == 0)
    globals->keyboardManager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kKeyboardManager, 1));
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

uint32_t Now() {
  using namespace std::chrono;
  return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The default keymap (evdev, us), handed over in a file as the protocol asks.
bool SendKeymap(wl_proxy* keyboard) {
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  xkb_keymap* keymap = context ? xkb_keymap_new_from_names(context, nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
  char* text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
  bool sent = false;
  if (text) {
    const size_t size = std::strlen(text) + 1;
    const int fd = memfd_create("keymap", MFD_CLOEXEC);
    if (fd >= 0 && write(fd, text, size) == ssize_t(size)) {
      wl_proxy_marshal_flags(keyboard, kKeymap, nullptr, 1, 0, uint32_t(WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1), fd,
                             uint32_t(size));
      sent = true;
    }
    if (fd >= 0) close(fd);
  }
  std::free(text);
  xkb_keymap_unref(keymap);
  xkb_context_unref(context);
  return sent;
}

int KeyCode(const std::string& name) {
  if (name == "down") return KEY_DOWN;
  if (name == "up") return KEY_UP;
  if (name == "enter") return KEY_ENTER;
  if (name == "escape") return KEY_ESC;
  return -1;
}

int Usage() {
  std::fprintf(stderr, "usage: wl_input move X Y | click left|right | key down|up|enter|escape | wait MS ...\n");
  return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
  unsigned width = 0, height = 0;
  const char* extent = std::getenv("WL_INPUT_EXTENT");
  if (!extent || std::sscanf(extent, "%ux%u", &width, &height) != 2 || !width || !height) return Usage();

  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::perror("wl_input: no Wayland display");
    return 1;
  }
  Globals globals;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &globals);
  wl_display_roundtrip(display);
  if (!globals.seat || !globals.pointerManager || !globals.keyboardManager) {
    std::fprintf(stderr, "wl_input: the compositor offers no virtual pointer or keyboard\n");
    return 1;
  }
  wl_proxy* pointer = wl_proxy_marshal_flags(globals.pointerManager, 0, &kPointer, 1, 0, globals.seat, nullptr);
  wl_proxy* keyboard = wl_proxy_marshal_flags(globals.keyboardManager, 0, &kKeyboard, 1, 0, globals.seat, nullptr);
  if (!SendKeymap(keyboard)) {
    std::fprintf(stderr, "wl_input: no keymap\n");
    return 1;
  }
  wl_display_roundtrip(display);
  // The program binds the seat's new pointer and keyboard when told of them.
  Pause(300);

  for (int i = 1; i < argc; ++i) {
    const std::string action = argv[i];
    if (action == "move" && i + 2 < argc) {
      const unsigned x = unsigned(std::atoi(argv[i + 1])), y = unsigned(std::atoi(argv[i + 2]));
      i += 2;
      wl_proxy_marshal_flags(pointer, kMotionAbsolute, nullptr, 1, 0, Now(), x, y, width, height);
      wl_proxy_marshal_flags(pointer, kFrame, nullptr, 1, 0);
    } else if (action == "click" && i + 1 < argc) {
      const std::string which = argv[++i];
      const uint32_t button = which == "right" ? BTN_RIGHT : BTN_LEFT;
      for (uint32_t state : {uint32_t(WL_POINTER_BUTTON_STATE_PRESSED), uint32_t(WL_POINTER_BUTTON_STATE_RELEASED)}) {
        wl_proxy_marshal_flags(pointer, kButton, nullptr, 1, 0, Now(), button, state);
        wl_proxy_marshal_flags(pointer, kFrame, nullptr, 1, 0);
        wl_display_roundtrip(display);
        Pause(50);
      }
    } else if (action == "key" && i + 1 < argc) {
      const int code = KeyCode(argv[++i]);
      if (code < 0) return Usage();
      for (uint32_t state : {uint32_t(WL_KEYBOARD_KEY_STATE_PRESSED), uint32_t(WL_KEYBOARD_KEY_STATE_RELEASED)}) {
        wl_proxy_marshal_flags(keyboard, kKey, nullptr, 1, 0, Now(), uint32_t(code), state);
        wl_display_roundtrip(display);
        Pause(50);
      }
    } else if (action == "wait" && i + 1 < argc) {
      Pause(std::atoi(argv[++i]));
    } else {
      return Usage();
    }
    wl_display_roundtrip(display);
    Pause(100);
  }
  // Everything goes before the connection does, so the leak checker of a sanitizer build has
  // nothing to report.
  wl_proxy_marshal_flags(pointer, kPointerDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
  wl_proxy_marshal_flags(keyboard, kKeyboardDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
  wl_proxy_marshal_flags(globals.pointerManager, kPointerManagerDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
  wl_proxy_destroy(globals.keyboardManager);
  wl_seat_destroy(globals.seat);
  wl_registry_destroy(registry);
  wl_display_roundtrip(display);
  wl_display_disconnect(display);
  return 0;
}
