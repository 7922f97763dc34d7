#include "ui/note_timer.h"

namespace quaverline {

NoteTimer::NoteTimer(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &NoteTimer::Timer);
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
