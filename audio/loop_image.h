// A validated one-period WAV image: what the sound layer is handed to loop.
#pragma once

#include "audio/wave_image.h"

#include <cstdint>
#include <optional>

namespace quaverline {

// The frames of a playable one-period image, pointing into the image that was read.
struct LoopImage {
  const WaveFrame* frames;
  std::int32_t frameCount;  // 1..kWaveCapacity
};

// Reads a WAV image through its header. Only the exact format the sound card loop is opened for
// is accepted: RIFF/WAVE with a 16-byte "fmt " chunk, PCM, 2 channels, 16 bits, 44 100 frames per
// second, 4-byte blocks, and a "data" chunk of 1 to kWaveCapacity whole frames.
std::optional<LoopImage> ReadLoopImage(const void* image);

}  // namespace quaverline
