// Blocking waits that end close to their deadline on a steady clock.
#pragma once

#include <chrono>

namespace quaverline {

// Sleeps until shortly before the deadline, then waits out the rest in short steps.
void WaitUntil(std::chrono::steady_clock::time_point deadline);

}  // namespace quaverline
