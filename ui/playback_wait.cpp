#include "ui/playback_wait.h"

#include "audio/precise_wait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <algorithm>
#include <thread>

namespace quaverline {

namespace {

using Clock = std::chrono::steady_clock;

// How often the window system's events are looked at: a ping or a repaint waits at most this long.
constexpr auto kStep = std::chrono::milliseconds(10);
// The end that is waited out without events, so that a repaint does not make the call end late ...
constexpr auto kQuietEnd = std::chrono::milliseconds(20);
// ... unless the desktop has waited this long already: a list of beeps and pauses of 20 ms or less
// lies wholly in quiet ends.
constexpr auto kLongestUnanswered = std::chrono::milliseconds(50);

// When the events were last looked at, across calls.
Clock::time_point lastLook;

bool OnWindowThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app != nullptr && QThread::currentThread() == app->thread();
}

}  // namespace

void WaitAnsweringDesktop(Clock::time_point deadline) {
  if (!OnWindowThread()) {
    WaitUntil(deadline);
    return;
  }
  // Timers are not excluded here (only X11's event dispatcher could): the note timer, the one
  // timer of the program, is held by the playback handlers.
  constexpr auto kDesktopOnly = QEventLoop::ExcludeUserInputEvents;
  const Clock::time_point quietFrom = deadline - kQuietEnd;
  for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
    if (now < quietFrom || now - lastLook >= kLongestUnanswered) {
      QCoreApplication::processEvents(kDesktopOnly);
      lastLook = Clock::now();
    }
    if (Clock::now() >= quietFrom) break;
    std::this_thread::sleep_until(std::min(Clock::now() + kStep, quietFrom));
  }
  WaitUntil(deadline);
  // The X11 connection keeps the input it held back aside and looks at it again only when woken:
  // the next round of the event loop after playback must deliver it even if nothing new arrives.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

InputCounter::InputCounter(QObject* parent) : QObject(parent) { QCoreApplication::instance()->installEventFilter(this); }

bool InputCounter::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      ++count_;
      break;
    default:
      break;
  }
  return false;
}

void DeliverHeldInput(const InputCounter& input) {
  // Input that comes while a handler runs here is held again by its playback: rounds until one
  // delivers nothing.
  for (std::uint64_t before = input.Count() + 1; before != input.Count();) {
    before = input.Count();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

}  // namespace quaverline
