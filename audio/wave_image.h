// The in-memory WAV image that holds one period of the current tone, and its synthesis.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace quaverline {

static_assert(std::endian::native == std::endian::little, "the WAV image is stored little-endian in place");

constexpr std::int32_t kWaveCapacity = 5000;  // frames
constexpr std::int32_t kSampleRate = 44100;
constexpr std::int32_t kChannels = 2;
constexpr std::int32_t kBitsPerSample = 16;

#pragma pack(push, 1)
struct WaveFrame {
  std::int16_t Left;
  std::int16_t Right;
};

// A canonical 44-byte RIFF/WAVE PCM header followed by room for kWaveCapacity frames. This is
// the byte layout handed to the sound layer, so every offset matters.
struct WaveImage {
  char riffId[4];
  std::int32_t riffSize;
  char waveId[4];
  char fmtId[4];
  std::int32_t fmtLength;
  std::int16_t formatTag;
  std::int16_t channels;
  std::int32_t sampleRate;
  std::int32_t bytesPerSecond;
  std::int16_t blockSize;
  std::int16_t bitsPerSample;
  char dataId[4];
  std::int32_t dataSize;
  WaveFrame frames[kWaveCapacity];  // frames[0] is frame 1
};
#pragma pack(pop)

static_assert(sizeof(WaveFrame) == 4);
static_assert(sizeof(WaveImage) == 20044);
static_assert(offsetof(WaveImage, riffSize) == 4);
static_assert(offsetof(WaveImage, waveId) == 8);
static_assert(offsetof(WaveImage, fmtId) == 12);
static_assert(offsetof(WaveImage, fmtLength) == 16);
static_assert(offsetof(WaveImage, formatTag) == 20);
static_assert(offsetof(WaveImage, channels) == 22);
static_assert(offsetof(WaveImage, sampleRate) == 24);
static_assert(offsetof(WaveImage, bytesPerSecond) == 28);
static_assert(offsetof(WaveImage, blockSize) == 32);
static_assert(offsetof(WaveImage, bitsPerSample) == 34);
static_assert(offsetof(WaveImage, dataId) == 36);
static_assert(offsetof(WaveImage, dataSize) == 40);
static_assert(offsetof(WaveImage, frames) == 44);

// Writes the 44 header bytes. False (and nothing written) when a size overflows its field.
bool BuildWaveImage(WaveImage& wave, std::int32_t frameCount, std::int32_t channelCount,
                    std::int32_t sampleRate, double bitsPerSample);

// Fills the header and frames 1..N with one period: N from the first frequency, the right
// channel from the first frequency, the left from the second. False, with the image unchanged,
// when the tone cannot be made: a first frequency that is 0, negative, not finite, 88 200 Hz or
// more, or so close to 0 that the frame count does not fit 32 bits; or a second frequency that
// is not finite or so large that its angular factor is not.
bool SynthesizeTone(WaveImage& wave, double frequency1, double frequency2);

}  // namespace quaverline
