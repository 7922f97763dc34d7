// The four sound calls the program is written against: a looping start of a WAV image from
// memory and its stop, the PC-speaker beep, and a blocking sleep.
#pragma once

#include <cstdint>

namespace quaverline {

constexpr std::uint32_t SND_ASYNC = 1;
constexpr std::uint32_t SND_MEMORY = 4;
constexpr std::uint32_t SND_LOOP = 8;

class SoundPlatform {
 public:
  virtual ~SoundPlatform() = default;

  // sound != nullptr with SND_ASYNC | SND_MEMORY | SND_LOOP: starts looping the WAV image that
  // sound points at, from the next buffer on, replacing any loop already sounding; returns at
  // once. sound == nullptr: ends the loop once it has sounded exactly as long as the time between
  // its start and this call (counted in frames, so neither buffer size nor a device running
  // behind the clock changes a tone's length); returns at once. False when nothing was started
  // (an image that is not a playable one-period loop, or no device).
  virtual bool PlaySound(const void* sound, std::uint32_t flags) = 0;

  // A square wave of the given frequency on the sound card, returning when it has ended.
  // Frequencies below 37 Hz or above 32 767 Hz, and durations of 0 or less, sound nothing and
  // return at once.
  virtual void Beep(std::int32_t frequency, std::int32_t durationMs) = 0;

  // Blocks the caller for that many milliseconds (0 or less: returns at once).
  virtual void Sleep(std::int32_t milliseconds) = 0;
};

}  // namespace quaverline
