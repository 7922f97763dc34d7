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
  std::int32_t frequency = 0;    // Beep
  std::int32_t ms = 0;           // Start (the loop's length), Beep and Sleep
  std::int32_t frameCount = 0;   // Start: frames of the image
  WaveFrame firstFrame{0, 0};    // Start: frame 1 of the image
  std::int64_t atMs = 0;         // virtual time when the call was made
};

class RecordingSound : public SoundPlatform {
 public:
  bool StartLoop(const LoopImage& image, std::int32_t lengthMs) override {
    SoundCall call{SoundCall::Start};
    call.ms = lengthMs;
    call.frameCount = image.frameCount;
    call.firstFrame = image.frames[0];
    call.atMs = clockMs;
    calls.push_back(call);
    looping = true;
    return true;
  }

  void StopLoop() override {
    SoundCall call{SoundCall::Stop};
    call.atMs = clockMs;
    calls.push_back(call);
    looping = false;
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
