#include "audio/tone_renderer.h"

#include <chrono>
#include <cmath>
#include <cstring>

namespace quaverline {

namespace {

constexpr double kNanosPerSecond = 1e9;

Nanos DurationOf(std::int64_t frames) { return Nanos(double(frames) * kNanosPerSecond / kSampleRate); }

std::int64_t FramesIn(Nanos span) { return span <= 0 ? 0 : std::llround(double(span) * kSampleRate / kNanosPerSecond); }

}  // namespace

Nanos SteadyNanos() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void ToneRenderer::RenderSilence(std::int16_t* frames, int frameCount) {
  std::memset(frames, 0, std::size_t(frameCount) * sizeof(WaveFrame));
}

void ToneRenderer::Forget() {
  mixer_.loop.active = false;
  mixer_.beep.framesLeft = 0;
  loopDone_.store(loopId_, std::memory_order_release);
  beepDone_.store(beepId_, std::memory_order_release);
}

void ToneRenderer::Render(std::int16_t* frames, int frameCount, Nanos now) {
  plans_.TakeNewest();
  const TonePlan& plan = plans_.Front();
  if (plan.loop.id != loopId_) {
    TakeLoop(plan.loop, now);
  } else if (plan.loop.stopAt != loopStopApplied_) {
    loopStopApplied_ = plan.loop.stopAt;
    // Only a stop before the loop's planned end shortens it; it ends where the caller's clock is,
    // counted from when this renderer began the loop (later than the call on a device that was
    // still opening).
    if (plan.loop.stopAt - plan.loop.requestedAt < DurationOf(plan.loop.totalFrames))
      StopLoopAfter(mixer_, FramesIn(plan.loop.stopAt - loopStartedAt_));
  }
  if (plan.beep.id != beepId_) TakeBeep(plan.beep, now);

  const bool sounding = Sounding(mixer_);
  RenderFrames(mixer_, frames, frameCount);
  if (sounding) lastSounding_.store(now, std::memory_order_relaxed);
  if (!mixer_.loop.active) loopDone_.store(loopId_, std::memory_order_release);
  if (mixer_.beep.framesLeft == 0) beepDone_.store(beepId_, std::memory_order_release);
}

void ToneRenderer::TakeLoop(const LoopPlan& plan, Nanos now) {
  loopId_ = plan.id;
  loopStopApplied_ = plan.stopAt;
  const Nanos planned = DurationOf(plan.totalFrames);
  // A loop whose whole time passed before any device could play it (none was open) keeps its
  // time silently, as without a device.
  if (plan.frameCount <= 0 || plan.frameCount > kWaveCapacity || plan.totalFrames <= 0 ||
      now - plan.requestedAt >= planned) {
    mixer_.loop.active = false;
    return;
  }
  StartLoop(mixer_, LoopImage{plan.frames.data(), plan.frameCount}, plan.totalFrames);
  loopStartedAt_ = now;
  if (plan.stopAt != kNever && plan.stopAt - plan.requestedAt < planned)
    StopLoopAfter(mixer_, FramesIn(plan.stopAt - loopStartedAt_));
}

void ToneRenderer::TakeBeep(const BeepPlan& plan, Nanos now) {
  beepId_ = plan.id;
  if (plan.frames <= 0 || now - plan.requestedAt >= DurationOf(plan.frames)) {
    StartBeep(mixer_, 0, 0);
    return;
  }
  StartBeep(mixer_, plan.frequency, plan.frames);
}

}  // namespace quaverline
