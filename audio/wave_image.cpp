#include "audio/wave_image.h"

#include "model/numbers.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace quaverline {

namespace {

// 2 * 3.14159265358979: the tone's angular factor uses this decimal constant, not full-precision pi.
constexpr double kTwoPi = 6.28318530717958;
constexpr int kPulsePower = 101;  // odd, so each pulse keeps the sign of its sine or cosine
constexpr double kPulseHeight = 2000;

std::optional<std::int32_t> Multiply32(std::int32_t a, std::int32_t b) {
  std::int32_t product = 0;
  if (__builtin_mul_overflow(a, b, &product)) return std::nullopt;
  return product;
}

std::optional<std::int32_t> Add32(std::int32_t a, std::int32_t b) {
  std::int32_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) return std::nullopt;
  return sum;
}

std::optional<std::int16_t> To16(std::int32_t value) {
  if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(value);
}

std::optional<std::int16_t> RoundToInt16(double value) {
  const auto rounded = RoundToInt32(value);
  if (!rounded) return std::nullopt;
  return To16(*rounded);
}

// One pulse sample: the height times the 101st power of a sine or cosine value, ties to even.
std::int16_t PulseSample(double base) {
  return static_cast<std::int16_t>(std::nearbyint(kPulseHeight * std::pow(base, kPulsePower)));
}

void SetId(char (&field)[4], const char* id) { std::memcpy(field, id, 4); }

}  // namespace

bool BuildWaveImage(WaveImage& wave, std::int32_t frameCount, std::int32_t channelCount,
                    std::int32_t sampleRate, double bitsPerSample) {
  // Every field is computed first so that an overflow leaves the image untouched.
  const auto samples = Multiply32(frameCount, channelCount);
  if (!samples) return false;
  const auto dataSize = RoundToInt32(double(*samples) * bitsPerSample / 8);
  if (!dataSize) return false;
  const auto riffSize = Add32(*dataSize, 36);
  const auto channels = To16(channelCount);
  const auto blockSize = RoundToInt16(double(channelCount) * bitsPerSample / 8);
  if (!riffSize || !channels || !blockSize) return false;
  const auto bytesPerSecond = Multiply32(*blockSize, sampleRate);
  const auto bits = RoundToInt16(bitsPerSample);
  if (!bytesPerSecond || !bits) return false;

  SetId(wave.riffId, "RIFF");
  wave.riffSize = *riffSize;
  SetId(wave.waveId, "WAVE");
  SetId(wave.fmtId, "fmt ");
  wave.fmtLength = 16;
  wave.formatTag = 1;
  wave.channels = *channels;
  wave.sampleRate = sampleRate;
  wave.blockSize = *blockSize;
  wave.bytesPerSecond = *bytesPerSecond;
  wave.bitsPerSample = *bits;
  SetId(wave.dataId, "data");
  wave.dataSize = *dataSize;
  return true;
}

bool SynthesizeTone(WaveImage& wave, double frequency1, double frequency2) {
  if (!std::isfinite(frequency1) || !std::isfinite(frequency2)) return false;
  const double dt = 1.0 / 44100;
  if (frequency1 == 0) return false;  // the period 1 / 0 does not exist
  const double period = 1 / frequency1;
  const auto frameCount = RoundToInt32(period / dt);
  if (!frameCount || *frameCount == 0) return false;
  // A negative frequency would give a negative data size, which no player can take.
  if (*frameCount < 0) return false;
  const std::int32_t n = *frameCount > kWaveCapacity ? kWaveCapacity : *frameCount;
  const double w1 = frequency1 * kTwoPi;
  const double w2 = frequency2 * kTwoPi;
  // Beyond about 2.9e307 Hz the angular factor overflows and every sample would be NaN.
  if (!std::isfinite(w2)) return false;

  if (!BuildWaveImage(wave, n, kChannels, kSampleRate, kBitsPerSample)) return false;
  double t = 0;
  for (std::int32_t k = 0; k < n; ++k) {
    wave.frames[k].Right = PulseSample(std::sin(t * w1));
    wave.frames[k].Left = PulseSample(std::cos(t * w2));
    t = t + dt;  // accumulated, not k * dt: the rounding of the sum shapes the samples
  }
  return true;
}

}  // namespace quaverline
