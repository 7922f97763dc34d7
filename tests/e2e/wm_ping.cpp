// Plays the window manager's part of _NET_WM_PING against one window: sends a ping, waits for
// the answer that the client sends back to the root window, and repeats.
//   wm_ping <window id> <pings> <interval ms> [<limit ms>]
// Prints how long each answer took and the longest; fails when one takes longer than the limit
// (a second unless given), or none comes within a second.
#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

// Waits until the deadline for a client message to the root window that carries this ping back.
bool AwaitAnswer(xcb_connection_t* c, const xcb_client_message_event_t& ping, xcb_window_t root,
                 Clock::time_point deadline) {
  pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
  for (;;) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
      const auto* answer = reinterpret_cast<const xcb_client_message_event_t*>(event);
      const bool found = (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE && answer->window == root &&
                         answer->type == ping.type && std::memcmp(&answer->data, &ping.data, 8) == 0;
      std::free(event);
      if (found) return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0 || xcb_connection_has_error(c)) return false;
    poll(&fd, 1, int(left) + 1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) return 2;
  const double limitMs = argc == 5 ? std::atof(argv[4]) : 1000;
  const auto window = xcb_window_t(std::strtoul(argv[1], nullptr, 0));
  const auto interval = std::chrono::milliseconds(std::atoi(argv[3]));
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 2;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  // The answer goes to the root window, for those who listen for its structure (as this does) or
  // redirect its substructure (the window manager).
  const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
  xcb_client_message_event_t ping{};
  ping.response_type = XCB_CLIENT_MESSAGE;
  ping.format = 32;
  ping.window = window;
  ping.type = Atom(c, "WM_PROTOCOLS");
  ping.data.data32[0] = Atom(c, "_NET_WM_PING");
  ping.data.data32[2] = window;
  int late = 0;
  double longest = 0;
  for (int i = 1; i <= std::atoi(argv[2]); ++i) {
    ping.data.data32[1] = std::uint32_t(i);  // the time stamp, which the answer carries back
    const auto sent = Clock::now();
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ping));
    xcb_flush(c);
    if (AwaitAnswer(c, ping, root, sent + std::chrono::seconds(1))) {
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - sent).count();
      std::printf("ping %d answered after %.1f ms\n", i, ms);
      longest = std::max(longest, ms);
      if (ms > limitMs) ++late;
    } else {
      std::printf("ping %d: no answer within 1 s\n", i);
      ++late;
    }
    std::fflush(stdout);
    std::this_thread::sleep_until(sent + interval);
  }
  xcb_disconnect(c);
  std::printf("longest answer %.1f ms; %d later than %.0f ms\n", longest, late, limitMs);
  return late == 0 ? 0 : 1;
}
