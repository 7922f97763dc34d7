// Blocking waits that end close to their deadline on a steady clock.
#pragma once

#include <chrono>
#include <cstdint>

namespace quaverline {

// Sleeps until shortly before the deadline, then waits out the rest in short steps.
void WaitUntil(std::chrono::steady_clock::time_point deadline);

// Blocks for that many milliseconds; 0 or less returns at once.
void WaitMilliseconds(std::int32_t milliseconds);

}  // namespace quaverline
