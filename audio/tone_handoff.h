// How the window thread hands tones to the audio thread without a lock: the whole plan of what
// should sound (the loop with its image, the beep) is written into a slot of its own and then
// swapped in with one atomic exchange. The audio thread takes the newest complete plan when it
// next renders; it never waits and never sees a plan half written.
#pragma once

#include "audio/wave_image.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <limits>

namespace quaverline {

// Steady-clock nanoseconds.
using Nanos = std::int64_t;
constexpr Nanos kNever = std::numeric_limits<Nanos>::max();

struct LoopPlan {
  std::uint64_t id = 0;            // a new id starts the loop afresh, replacing the one before
  std::int32_t frameCount = 0;     // of the one-period image below
  std::int64_t totalFrames = 0;    // the loop's planned length
  Nanos requestedAt = 0;           // when the caller started it
  Nanos stopAt = kNever;           // an early stop asked for at this time
  std::array<WaveFrame, kWaveCapacity> frames{};
};

struct BeepPlan {
  std::uint64_t id = 0;
  std::int32_t frequency = 0;
  std::int64_t frames = 0;
  Nanos requestedAt = 0;
};

struct TonePlan {
  LoopPlan loop;
  BeepPlan beep;
};

// A triple buffer: one slot the writer fills, one the reader reads, one in between. Exactly one
// thread writes and one reads at a time (the reader may change from device to device, each ended
// before the next starts).
template <typename T>
class TripleBuffer {
 public:
  // The writer's slot, to fill completely before Publish.
  T& Back() { return slots_[back_]; }

  // Makes the back slot the newest plan and takes the older in-between slot as the next back.
  void Publish() { back_ = middle_.exchange(back_ | kFresh, std::memory_order_acq_rel) & kIndex; }

  // The reader takes the newest published plan, if one came since its last look. True when so.
  bool TakeNewest() {
    if ((middle_.load(std::memory_order_relaxed) & kFresh) == 0) return false;
    front_ = middle_.exchange(front_, std::memory_order_acq_rel) & kIndex;
    return true;
  }

  // The reader's current plan.
  const T& Front() const { return slots_[front_]; }

 private:
  static constexpr std::uint8_t kIndex = 3;
  static constexpr std::uint8_t kFresh = 4;

  std::array<T, 3> slots_{};
  std::uint8_t back_ = 0;               // the writer's
  std::atomic<std::uint8_t> middle_{1};  // index, and kFresh when not yet taken
  std::uint8_t front_ = 2;              // the reader's
};

}  // namespace quaverline
