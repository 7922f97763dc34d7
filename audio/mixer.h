// What the audio callback plays: a copy of the looping one-period image and a square-wave beep,
// rendered into interleaved stereo 16-bit frames. Pure functions over plain state, so they can be
// driven without a device; on a device only its audio thread changes the state (ToneRenderer, from
// the plans handed over without a lock).
#pragma once

#include "audio/loop_image.h"
#include "audio/wave_image.h"

#include <array>
#include <cstdint>

namespace quaverline {

constexpr std::int16_t kBeepAmplitude = 4000;

struct LoopState {
  std::array<WaveFrame, kWaveCapacity> frames{};
  std::int32_t length = 0;
  std::int32_t position = 0;    // next frame to play
  std::int64_t played = 0;      // frames rendered since the start
  std::int64_t framesLeft = 0;  // frames still to play until the loop's planned end
  bool active = false;
};

struct BeepState {
  std::int32_t frequency = 0;
  std::int32_t phase = 0;         // in 1/kSampleRate of a cycle, 0..kSampleRate-1
  std::int64_t framesLeft = 0;
};

struct MixerState {
  LoopState loop;
  BeepState beep;
};

// Copies the image's frames and loops them from their first frame for exactly `totalFrames`
// frames, replacing any loop. Knowing the length up front keeps the tone exact however many
// buffers the device renders ahead: a stop counted from the caller's clock could only cut what
// is not rendered yet.
void StartLoop(MixerState& state, const LoopImage& image, std::int64_t totalFrames);

// Ends the loop sooner, once it has played `totalFrames` frames since its start; at once when it
// has played that many already. Never lengthens it.
void StopLoopAfter(MixerState& state, std::int64_t totalFrames);

// True while the loop or the beep still has frames to play.
bool Sounding(const MixerState& state);

// A square wave of `frequency` Hz for exactly `frames` frames, replacing any beep still sounding.
void StartBeep(MixerState& state, std::int32_t frequency, std::int64_t frames);

// Number of frames that a tone of this many milliseconds lasts (0 for 0 or less).
std::int64_t FramesIn(std::int32_t durationMs);

// Writes frameCount interleaved stereo frames (left, right): the loop plus the beep, clamped.
void RenderFrames(MixerState& state, std::int16_t* out, int frameCount);

}  // namespace quaverline
