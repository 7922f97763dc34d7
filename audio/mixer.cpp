#include "audio/mixer.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quaverline {

namespace {

constexpr std::size_t kHeaderSize = 44;

std::int32_t Read32(const unsigned char* bytes, std::size_t offset) {
  std::int32_t value = 0;
  std::memcpy(&value, bytes + offset, sizeof value);
  return value;
}

std::int16_t Read16(const unsigned char* bytes, std::size_t offset) {
  std::int16_t value = 0;
  std::memcpy(&value, bytes + offset, sizeof value);
  return value;
}

bool HasId(const unsigned char* bytes, std::size_t offset, const char* id) {
  return std::memcmp(bytes + offset, id, 4) == 0;
}

std::int16_t Clamp16(std::int32_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int32_t>(value, std::numeric_limits<std::int16_t>::min(),
                                                            std::numeric_limits<std::int16_t>::max()));
}

}  // namespace

std::optional<LoopImage> ReadLoopImage(const void* image) {
  if (image == nullptr) return std::nullopt;
  const auto* bytes = static_cast<const unsigned char*>(image);
  constexpr std::int32_t kBlock = kChannels * kBitsPerSample / 8;
  const std::int32_t dataSize = Read32(bytes, 40);
  const bool headerOk = HasId(bytes, 0, "RIFF") && HasId(bytes, 8, "WAVE") && HasId(bytes, 12, "fmt ") &&
                        Read32(bytes, 16) == 16 && Read16(bytes, 20) == 1 && Read16(bytes, 22) == kChannels &&
                        Read32(bytes, 24) == kSampleRate && Read32(bytes, 28) == kSampleRate * kBlock &&
                        Read16(bytes, 32) == kBlock && Read16(bytes, 34) == kBitsPerSample &&
                        HasId(bytes, 36, "data");
  if (!headerOk) return std::nullopt;
  if (dataSize <= 0 || dataSize % kBlock != 0 || dataSize / kBlock > kWaveCapacity) return std::nullopt;
  if (Read32(bytes, 4) != dataSize + 36) return std::nullopt;
  return LoopImage{reinterpret_cast<const WaveFrame*>(bytes + kHeaderSize), dataSize / kBlock};
}

void StartLoop(MixerState& state, const LoopImage& image) {
  std::memcpy(state.loop.frames.data(), image.frames, std::size_t(image.frameCount) * sizeof(WaveFrame));
  state.loop.length = image.frameCount;
  state.loop.position = 0;
  state.loop.played = 0;
  state.loop.framesLeft = -1;
  state.loop.active = true;
}

void StopLoopAfter(MixerState& state, std::int64_t totalFrames) {
  LoopState& loop = state.loop;
  if (!loop.active) return;
  // A later stop never lengthens a loop that is already ending.
  if (loop.framesLeft >= 0) totalFrames = std::min(totalFrames, loop.played + loop.framesLeft);
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

std::int64_t BeepFrames(std::int32_t durationMs) {
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
      if (loop.framesLeft > 0 && --loop.framesLeft == 0) loop.active = false;
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
