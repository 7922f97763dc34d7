// The audio thread's side of the hand-off: takes the newest tone plan, turns it into the mixer's
// state and renders frames. Everything here follows real-time rules: no lock, no allocation, no
// logging, no waiting. What it has played goes back to the other threads through atomics.
#pragma once

#include "audio/mixer.h"
#include "audio/tone_handoff.h"

#include <atomic>
#include <cstdint>

namespace quaverline {

Nanos SteadyNanos();

class ToneRenderer {
 public:
  explicit ToneRenderer(TripleBuffer<TonePlan>& plans) : plans_(plans) {}

  // Renders `frameCount` frames at steady time `now`.
  void Render(std::int16_t* frames, int frameCount, Nanos now);

  // Drops the tone that was sounding when its device went away: on the next device it would come
  // late. Plans not taken yet still play there. Only while no device renders.
  void Forget();

  // Silence, without taking a plan: for a device that has not settled yet.
  static void RenderSilence(std::int16_t* frames, int frameCount);

  // The newest loop and beep ids that are over (played out, stopped, replaced or dropped).
  std::uint64_t LoopDone() const { return loopDone_.load(std::memory_order_acquire); }
  std::uint64_t BeepDone() const { return beepDone_.load(std::memory_order_acquire); }
  // When the renderer last played a sounding frame.
  Nanos LastSounding() const { return lastSounding_.load(std::memory_order_relaxed); }

 private:
  void TakeLoop(const LoopPlan& plan, Nanos now);
  void TakeBeep(const BeepPlan& plan, Nanos now);

  TripleBuffer<TonePlan>& plans_;
  MixerState mixer_;
  std::uint64_t loopId_ = 0;
  Nanos loopStartedAt_ = 0;  // when this renderer began the current loop
  Nanos loopStopApplied_ = kNever;
  std::uint64_t beepId_ = 0;
  std::atomic<std::uint64_t> loopDone_{0};
  std::atomic<std::uint64_t> beepDone_{0};
  std::atomic<Nanos> lastSounding_{0};
};

}  // namespace quaverline
