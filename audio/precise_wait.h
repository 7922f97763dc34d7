// Blocking waits that end close to their deadline on a steady clock.
#pragma once

#include <atomic>
#include <chrono>

namespace quaverline {

// Sleeps until shortly before the deadline, then waits out the rest in short steps.
void WaitUntil(std::chrono::steady_clock::time_point deadline);

// Looks every millisecond whether another thread has set `done` or `failed`, for at most `limit`.
// True when `done` was set first.
bool WaitForFlag(const std::atomic<bool>& done, const std::atomic<bool>& failed, std::chrono::milliseconds limit);

}  // namespace quaverline
