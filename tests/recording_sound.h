// A sound platform that records every call instead of sounding, on a virtual clock that Sleep
// and a sounding Beep advance. Nothing really waits.
#pragma once

#include "audio/mixer.h"
#include "audio/sound_platform.h"

#include <cstdint>
#include <vector>

namespace quaverline {

struct SoundCall {
  enum Kind { Start, Stop, Beep, Sleep };
  Kind kind;
  std::uint32_t flags = 0;       // Start and Stop
  std::int32_t frequency = 0;    // Beep
  std::int32_t ms = 0;           // Beep and Sleep
  std::int32_t frameCount = 0;   // Start: frames of the image, -1 when it was not playable
  WaveFrame firstFrame{0, 0};    // Start: frame 1 of the image
  std::int64_t atMs = 0;         // virtual time when the call was made
};

class RecordingSound : public SoundPlatform {
 public:
  bool PlaySound(const void* sound, std::uint32_t flags) override {
    SoundCall call{sound == nullptr ? SoundCall::Stop : SoundCall::Start};
    call.flags = flags;
    call.atMs = clockMs;
    bool started = false;
    if (sound == nullptr) {
      looping = false;
    } else if (const auto image = ReadLoopImage(sound)) {
      call.frameCount = image->frameCount;
      call.firstFrame = image->frames[0];
      looping = true;
      started = true;
    } else {
      call.frameCount = -1;
    }
    calls.push_back(call);
    return sound == nullptr || started;
  }

  void Beep(std::int32_t frequency, std::int32_t durationMs) override {
    SoundCall call{SoundCall::Beep};
    call.frequency = frequency;
    call.ms = durationMs;
    call.atMs = clockMs;
    calls.push_back(call);
    if (frequency >= 37 && frequency <= 32767 && durationMs > 0) clockMs += durationMs;
  }

  void Sleep(std::int32_t milliseconds) override {
    SoundCall call{SoundCall::Sleep};
    call.ms = milliseconds;
    call.atMs = clockMs;
    calls.push_back(call);
    if (milliseconds > 0) clockMs += milliseconds;
  }

  std::vector<SoundCall> calls;
  std::int64_t clockMs = 0;
  bool looping = false;  // a loop was started and not stopped since
};

}  // namespace quaverline
