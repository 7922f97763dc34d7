#include "audio/precise_wait.h"

#include <thread>

namespace quaverline {

namespace {

// The system sleep may overshoot by about a scheduler tick; the last stretch is waited out in
// steps this short instead.
constexpr auto kCoarseMargin = std::chrono::milliseconds(2);
constexpr auto kFineStep = std::chrono::microseconds(100);

}  // namespace

void WaitUntil(std::chrono::steady_clock::time_point deadline) {
  using Clock = std::chrono::steady_clock;
  if (deadline - Clock::now() > kCoarseMargin) std::this_thread::sleep_until(deadline - kCoarseMargin);
  for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
    const auto left = deadline - now;
    std::this_thread::sleep_for(left < kFineStep ? left : kFineStep);
  }
}

bool WaitForFlag(const std::atomic<bool>& done, const std::atomic<bool>& failed, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done.load(std::memory_order_relaxed)) {
    if (failed.load(std::memory_order_relaxed) || std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace quaverline
