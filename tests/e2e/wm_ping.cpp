// Plays the window manager's part of _NET_WM_PING against one window: sends a ping, waits for
// the answer that the client sends back to the root window, and repeats.
//   wm_ping <window id> <pings> <interval ms>
// Prints how long each answer took; fails when one takes a second or more.
#include <xcb/xcb.h>

#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(1);

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

struct Atoms {
  xcb_atom_t protocols;
  xcb_atom_t ping;
};

bool IsAnswer(const xcb_generic_event_t* event, const Atoms& atoms, xcb_window_t root, std::uint32_t stamp) {
  if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
  const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
  return message->window == root && message->type == atoms.protocols && message->data.data32[0] == atoms.ping &&
         message->data.data32[1] == stamp;
}

// Waits for the answer to the ping with this stamp until the deadline.
bool AwaitAnswer(xcb_connection_t* c, const Atoms& atoms, xcb_window_t root, std::uint32_t stamp,
                 Clock::time_point deadline) {
  pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
  for (;;) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
      const bool answer = IsAnswer(event, atoms, root, stamp);
      std::free(event);
      if (answer) return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0 || xcb_connection_has_error(c)) return false;
    poll(&fd, 1, int(left.count()) + 1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: wm_ping <window id> <pings> <interval ms>\n");
    return 2;
  }
  const auto window = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
  const int pings = std::atoi(argv[2]);
  const auto interval = std::chrono::milliseconds(std::atoi(argv[3]));
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "wm_ping: no X display\n");
    return 2;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  // The answer goes to the root window, for those who listen for its structure (Qt) or redirect
  // its substructure (the window manager, which this is not).
  const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  const Atoms atoms{Atom(c, "WM_PROTOCOLS"), Atom(c, "_NET_WM_PING")};

  int late = 0;
  for (int i = 1; i <= pings; ++i) {
    xcb_client_message_event_t ping{};
    ping.response_type = XCB_CLIENT_MESSAGE;
    ping.format = 32;
    ping.window = window;
    ping.type = atoms.protocols;
    ping.data.data32[0] = atoms.ping;
    ping.data.data32[1] = std::uint32_t(i);  // the stamp the answer carries back
    ping.data.data32[2] = window;
    const auto sent = Clock::now();
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ping));
    xcb_flush(c);
    if (AwaitAnswer(c, atoms, root, std::uint32_t(i), sent + kPatience)) {
      std::printf("ping %d answered after %.1f ms\n", i,
                  std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
    } else {
      std::printf("ping %d: no answer within 1 s\n", i);
      ++late;
    }
    std::fflush(stdout);
    std::this_thread::sleep_until(sent + interval);
  }
  xcb_disconnect(c);
  return late == 0 ? 0 : 1;
}
