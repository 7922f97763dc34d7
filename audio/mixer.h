// What the audio callback plays: a copy of the looping one-period image and a square-wave beep,
// rendered into interleaved stereo 16-bit frames. Pure functions over plain state, so they can be
// driven without a device; the device owner changes the state only under its device lock.
#pragma once

#include "audio/wave_image.h"

#include <array>
#include <cstdint>
#include <optional>

namespace quaverline {

constexpr std::int16_t kBeepAmplitude = 4000;

// The frames of a playable one-period image, pointing into the image that was read.
struct LoopImage {
  const WaveFrame* frames;
  std::int32_t frameCount;  // 1..kWaveCapacity
};

struct LoopState {
  std::array<WaveFrame, kWaveCapacity> frames{};
  std::int32_t length = 0;
  std::int32_t position = 0;    // next frame to play
  std::int64_t played = 0;      // frames rendered since the start
  std::int64_t framesLeft = -1; // frames still to play once a stop is known, -1 until then
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

// Reads a WAV image through its header. Only the exact format the sound card loop is opened for
// is accepted: RIFF/WAVE with a 16-byte "fmt " chunk, PCM, 2 channels, 16 bits, 44 100 frames per
// second, 4-byte blocks, and a "data" chunk of 1 to kWaveCapacity whole frames.
std::optional<LoopImage> ReadLoopImage(const void* image);

// Copies the image's frames and loops them from their first frame, replacing any loop.
void StartLoop(MixerState& state, const LoopImage& image);

// Ends the loop once it has played `totalFrames` frames since its start; at once when it has
// played that many already. The device may render ahead of or behind the caller's clock, so the
// length is counted in frames rather than cut at the next buffer.
void StopLoopAfter(MixerState& state, std::int64_t totalFrames);

// True while the loop or the beep still has frames to play.
bool Sounding(const MixerState& state);

// A square wave of `frequency` Hz for exactly `frames` frames, replacing any beep still sounding.
void StartBeep(MixerState& state, std::int32_t frequency, std::int64_t frames);

// Number of frames a beep of this many milliseconds lasts.
std::int64_t BeepFrames(std::int32_t durationMs);

// Writes frameCount interleaved stereo frames (left, right): the loop plus the beep, clamped.
void RenderFrames(MixerState& state, std::int16_t* out, int frameCount);

}  // namespace quaverline
