#include "audio/mixer.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quaverline {

namespace {

std::int16_t Clamp16(std::int32_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int32_t>(value, std::numeric_limits<std::int16_t>::min(),
                                                            std::numeric_limits<std::int16_t>::max()));
}

}  // namespace

void StartLoop(MixerState& state, const LoopImage& image, std::int64_t totalFrames) {
  std::memcpy(state.loop.frames.data(), image.frames, std::size_t(image.frameCount) * sizeof(WaveFrame));
  state.loop.length = image.frameCount;
  state.loop.position = 0;
  state.loop.played = 0;
  state.loop.framesLeft = std::max<std::int64_t>(totalFrames, 0);
  state.loop.active = state.loop.framesLeft > 0;
}

void StopLoopAfter(MixerState& state, std::int64_t totalFrames) {
  LoopState& loop = state.loop;
  if (!loop.active) return;
  // A stop never lengthens a loop: it can only end it sooner than planned.
  totalFrames = std::min(totalFrames, loop.played + loop.framesLeft);
  if (totalFrames <= loop.played) {
    loop.active = false;
    return;
  }
  loop.framesLeft = totalFrames - loop.played;
}

bool Sounding(const MixerState& state) { return state.loop.active || state.beep.framesLeft > 0; }

void StartBeep(MixerState& state, std::int32_t frequency, std::int64_t frames) {
  state.beep.frequency = frequency;
  state.beep.phase = 0;
  state.beep.framesLeft = frequency > 0 && frames > 0 ? frames : 0;
}

std::int64_t FramesIn(std::int32_t durationMs) {
  return durationMs <= 0 ? 0 : std::int64_t(durationMs) * kSampleRate / 1000;
}

void RenderFrames(MixerState& state, std::int16_t* out, int frameCount) {
  LoopState& loop = state.loop;
  BeepState& beep = state.beep;
  for (int i = 0; i < frameCount; ++i) {
    std::int32_t left = 0;
    std::int32_t right = 0;
    if (loop.active && loop.length > 0) {
      const WaveFrame& frame = loop.frames[std::size_t(loop.position)];
      left = frame.Left;
      right = frame.Right;
      if (++loop.position >= loop.length) loop.position = 0;
      ++loop.played;
      if (--loop.framesLeft == 0) loop.active = false;
    }
    if (beep.framesLeft > 0) {
      // The phase counts in 1/kSampleRate of a cycle, so the period averages exactly
      // kSampleRate / frequency frames even when that is not a whole number.
      const std::int32_t level = beep.phase < kSampleRate / 2 ? kBeepAmplitude : -kBeepAmplitude;
      left += level;
      right += level;
      beep.phase = static_cast<std::int32_t>((std::int64_t(beep.phase) + beep.frequency) % kSampleRate);
      --beep.framesLeft;
    }
    out[2 * i] = Clamp16(left);
    out[2 * i + 1] = Clamp16(right);
  }
}

}  // namespace quaverline
