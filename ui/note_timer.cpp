#include "ui/note_timer.h"

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
  if (!tickKept_) return;
  tickKept_ = false;
  // From the event loop, after the handler that held the timer has returned.
  QTimer::singleShot(0, this, [this] {
    if (enabled_ && interval_ > 0) emit Timer();
  });
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
  if (enabled_ && interval_ > 0)
    timer_.start(interval_);
  else
    timer_.stop();
}

}  // namespace quaverline
