#include "ui/playback_wait.h"

#include "audio/precise_wait.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <thread>

namespace quaverline {

namespace {

using Clock = std::chrono::steady_clock;

// How often the window system's events are looked at: a ping or a repaint waits at most this long.
constexpr auto kStep = std::chrono::milliseconds(10);
// The end that is waited out without events.
constexpr auto kQuietEnd = std::chrono::milliseconds(20);

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
  for (auto now = Clock::now(); now < quietFrom; now = Clock::now()) {
    QCoreApplication::processEvents(kDesktopOnly);
    std::this_thread::sleep_until(std::min(Clock::now() + kStep, quietFrom));
  }
  WaitUntil(deadline);
  // The X11 connection keeps the input it held back aside and looks at it again only when woken:
  // the next round of the event loop after playback must deliver it even if nothing new arrives.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
}

}  // namespace quaverline
