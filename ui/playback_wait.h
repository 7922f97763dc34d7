// The wait of the sound layer's blocking calls (a beep, the sleep of a sound-card note) while the
// window plays: the window keeps answering its desktop, but no handler of the program runs.
#pragma once

#include <chrono>

namespace quaverline {

// Returns at the deadline, not before, like the sound layer's own wait. On the window's thread it
// meanwhile lets the window system's own events through (repaints, the window manager's ping)
// while the user's input stays queued: clicks and keys take effect in order once playback has
// ended and the event loop runs again. The note timer is held by the playback handlers. The last
// stretch is waited out without events, so that a repaint cannot make the call end late.
void WaitAnsweringDesktop(std::chrono::steady_clock::time_point deadline);

}  // namespace quaverline
