// The window's timer: ticks every Interval milliseconds while it is enabled. An interval of 0
// never ticks, and changing the interval or enabling it starts the count afresh. While held (during
// playback, which lets the window system's events through but runs no handler of the program) a
// tick that falls due is kept; the note's wait delivers it once the hold has ended and the input
// held back meanwhile has been delivered, as if the thread had been blocked. A kept tick is dropped
// when the timer is set again before it is delivered.
#pragma once

#include <QObject>
#include <QTimer>

namespace quaverline {

class NoteTimer : public QObject {
  Q_OBJECT
 public:
  explicit NoteTimer(QObject* parent = nullptr);

  int Interval() const { return interval_; }
  bool Enabled() const { return enabled_; }
  void SetInterval(int milliseconds);
  void SetEnabled(bool enabled);
  void Hold();
  void Release();
  // A tick fell due while held and has not been delivered.
  bool HasKeptTick() const { return tickKept_ && !held_; }
  void DeliverKeptTick();

 signals:
  void Timer();

 private:
  void Restart();
  bool Ticking() const { return enabled_ && interval_ > 0; }

  QTimer timer_;
  int interval_ = 0;
  bool enabled_ = true;
  bool held_ = false;
  bool tickKept_ = false;
};

// Holds the timer for as long as it lives.
class NoteTimerHold {
 public:
  explicit NoteTimerHold(NoteTimer& timer) : timer_(timer) { timer_.Hold(); }
  ~NoteTimerHold() { timer_.Release(); }
  NoteTimerHold(const NoteTimerHold&) = delete;
  NoteTimerHold& operator=(const NoteTimerHold&) = delete;

 private:
  NoteTimer& timer_;
};

}  // namespace quaverline
