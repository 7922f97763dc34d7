#include "ui/note_timer.h"

#include <QAbstractEventDispatcher>

namespace quaverline {

NoteTimer::NoteTimer(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (held_)
      tickKept_ = true;
    else
      emit Timer();
  });
}

void NoteTimer::Hold() { held_ = true; }

void NoteTimer::Release() {
  held_ = false;
  // A wait asleep in the event loop looks at the kept tick.
  if (tickKept_)
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread())) dispatcher->wakeUp();
}

void NoteTimer::DeliverKeptTick() {
  if (!HasKeptTick()) return;
  tickKept_ = false;
  if (Ticking()) emit Timer();
}

void NoteTimer::SetInterval(int milliseconds) {
  interval_ = milliseconds < 0 ? 0 : milliseconds;
  Restart();
}

void NoteTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Restart();
}

void NoteTimer::Restart() {
  tickKept_ = false;  // a tick of the timer as it was set before
  if (Ticking()) {
    timer_.start(interval_);
    return;
  }
  timer_.stop();
  // A wait for this timer sleeps in processEvents(WaitForMoreEvents). On Windows the tick may be
  // delivered as a posted event at the start of that call, which then sleeps on until some other
  // event comes; waking the dispatcher lets the wait see the timer stopped.
  if (auto* dispatcher = QAbstractEventDispatcher::instance(thread())) dispatcher->wakeUp();
}

}  // namespace quaverline
