// The wait of the sound layer's blocking calls (a beep, the sleep of a sound-card note) while the
// window plays: the window keeps answering its desktop, but no handler of the program runs.
#pragma once

#include <QObject>
#include <chrono>
#include <cstdint>

namespace quaverline {

// Returns at the deadline, not before, like the sound layer's own wait. On the window's thread it
// meanwhile lets the window system's own events through (repaints, the window manager's ping,
// other programs' clipboard requests) at least every 50 ms, also across a list of very short calls,
// while the user's input stays queued: clicks and keys take effect in order once playback has
// ended and the event loop runs again. The note timer is held by the playback handlers. The last
// 20 ms are waited out without events where the desktop has been answered recently, so that a
// repaint does not make the call end late.
void WaitAnsweringDesktop(std::chrono::steady_clock::time_point deadline);

// Counts the user's clicks and keys as the application delivers them.
class InputCounter : public QObject {
 public:
  explicit InputCounter(QObject* parent);
  std::uint64_t Count() const { return count_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::uint64_t count_ = 0;
};

// Delivers the input that playback held back, and whatever it sets off, before returning.
void DeliverHeldInput(const InputCounter& input);

}  // namespace quaverline
