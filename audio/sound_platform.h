// The sound calls the program is written against: a looping start of a one-period image and its
// stop, the PC-speaker beep, and a blocking sleep.
#pragma once

#include "audio/loop_image.h"

#include <cstdint>

namespace quaverline {

constexpr std::uint32_t SND_ASYNC = 1;
constexpr std::uint32_t SND_MEMORY = 4;
constexpr std::uint32_t SND_LOOP = 8;

class SoundPlatform {
 public:
  virtual ~SoundPlatform() = default;

  // Starts looping the image's period from the next buffer on, replacing any loop already
  // sounding, and returns at once. The loop ends by itself after exactly `lengthMs` (counted in
  // frames, so neither the buffer size nor a device that renders ahead or behind the clock
  // changes a tone's length). False when nothing was started (no device).
  virtual bool StartLoop(const LoopImage& image, std::int32_t lengthMs) = 0;

  // Ends the loop now, if it has not ended by itself yet; returns at once.
  virtual void StopLoop() = 0;

  // A square wave of the given frequency on the sound card, returning when it has ended.
  // Frequencies below 37 Hz or above 32 767 Hz, and durations of 0 or less, sound nothing and
  // return at once.
  virtual void Beep(std::int32_t frequency, std::int32_t durationMs) = 0;

  // Blocks the caller for that many milliseconds (0 or less: returns at once).
  virtual void Sleep(std::int32_t milliseconds) = 0;

  // Silences and closes the output for good, before the program ends: no sound thread is left
  // running while the process tears itself down.
  virtual void Shutdown() {}
};

}  // namespace quaverline
