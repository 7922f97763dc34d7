#include "ui/window_fit.h"
#include "ui/window_frame.h"

#include <QGuiApplication>
#include <QWidget>
#include <xcb/xcb.h>

#include <chrono>
#include <cmath>
#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace quaverline {

namespace {

// The window thread waits this long for the answer before the window is shown. A window manager
// that answers before mapping does so within a few round trips; one that answers only after
// mapping (Debian 13's mutter) would cost every start the whole wait, and the window is centred
// again once it is framed anyway.
constexpr auto kFrameAnswerLimit = std::chrono::milliseconds(200);

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  ReplyPtr<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr),
      &std::free);
  return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

template <typename Value>
std::vector<Value> Property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
  ReplyPtr<xcb_get_property_reply_t> reply(
      xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, property, type, 0, 1024), nullptr),
      &std::free);
  if (!reply || reply->format != 32) return {};
  const auto* values = static_cast<const Value*>(xcb_get_property_value(reply.get()));
  return std::vector<Value>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

// A running window manager that names itself (EWMH) and lists the request among what it supports.
bool ManagerAnswersFrameRequests(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t request) {
  const auto check = Property<xcb_window_t>(connection, root, Atom(connection, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
  if (check.empty()) return false;
  const auto supported = Property<xcb_atom_t>(connection, root, Atom(connection, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
  return std::find(supported.begin(), supported.end(), request) != supported.end();
}

QMargins X11Frame(QWidget& window) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return {};
  const auto id = xcb_window_t(window.winId());  // the window exists from here on, not yet shown
  ReplyPtr<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr),
                                        &std::free);
  if (!tree) return {};
  const xcb_atom_t request = Atom(connection, "_NET_REQUEST_FRAME_EXTENTS");
  if (!ManagerAnswersFrameRequests(connection, tree->root, request)) return {};

  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = id;
  message.type = request;
  xcb_send_event(connection, 0, tree->root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
  const xcb_atom_t extents = Atom(connection, "_NET_FRAME_EXTENTS");
  const auto deadline = std::chrono::steady_clock::now() + kFrameAnswerLimit;
  do {
    const auto frame = Property<uint32_t>(connection, id, extents, XCB_ATOM_CARDINAL);
    if (frame.size() == 4) {
      const double ratio = window.devicePixelRatioF();
      const auto logical = [ratio](uint32_t pixels) { return int(std::lround(pixels / ratio)); };
      return QMargins(logical(frame[0]), logical(frame[2]), logical(frame[1]), logical(frame[3]));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  } while (std::chrono::steady_clock::now() < deadline);
  return {};
}

}  // namespace

QMargins DesktopFrame(QWidget& window, bool ownTitleBar) {
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("xcb")) return X11Frame(window);
  if (platform.startsWith(QLatin1String("wayland"))) return ownTitleBar ? QMargins() : kFrameAllowance;
  return {};
}

}  // namespace quaverline
