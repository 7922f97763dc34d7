#include "audio/loop_image.h"

#include <cstring>

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

}  // namespace quaverline
