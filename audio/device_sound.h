// The sound calls on one output device: a PipeWire or PulseAudio stream of the program's own, or
// else SDL2's. A call only writes what should sound into the hand-off and tells the sound-control
// thread; the device's own thread renders it. The calling thread never waits for a device: a tone
// asked for while the device opens plays once the stream flows, and without a device every call
// still keeps its time, silently.
#pragma once

#include "audio/precise_wait.h"
#include "audio/sound_control.h"
#include "audio/sound_platform.h"
#include "audio/tone_handoff.h"
#include "audio/tone_renderer.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>

namespace quaverline {

class DeviceSound final : public SoundPlatform {
 public:
  // On the system's sound servers and SDL2.
  DeviceSound();
  // On the given backends, for tests.
  DeviceSound(std::unique_ptr<DeviceOpener> opener, ControlTiming timing);
  ~DeviceSound() override;
  DeviceSound(const DeviceSound&) = delete;
  DeviceSound& operator=(const DeviceSound&) = delete;

  bool StartLoop(const LoopImage& image, std::int32_t lengthMs) override;
  void StopLoop() override;
  void Beep(std::int32_t frequency, std::int32_t durationMs) override;
  void Sleep(std::int32_t milliseconds) override;
  void Shutdown() override;

  // Opens the device in the background, so that the first note plays into a running stream.
  void OpenInBackground() { control_.OpenSoon(); }

  // Waits up to 10 s until the device has opened (or none could be); true when one is open. For
  // tests and benchmarks: the window never waits for a device.
  bool WaitForDevice() { return control_.WaitForOpen(std::chrono::seconds(10)); }

  DeviceState State() const { return control_.State(); }
  const char* OpenedBackend() const { return control_.OpenedBackend(); }

  // How Beep and Sleep wait for their end: by default they block the calling thread. Another wait
  // must not return before the deadline. Set before the first call.
  using Wait = void (*)(std::chrono::steady_clock::time_point deadline);
  void SetWait(Wait wait) { wait_ = wait; }

  // True while a tone asked for has not been played out yet; a device renders ahead of the clock
  // or behind it, so a call may have returned before its tone has ended.
  bool Sounding() const;

 private:
  void Publish();

  std::mutex callers_;  // taken by the sound calls' threads only, never by the audio thread
  TonePlan plan_;       // the callers' copy of what should sound
  std::atomic<std::uint64_t> postedLoop_{0};
  std::atomic<std::uint64_t> postedBeep_{0};
  TripleBuffer<TonePlan> plans_;
  ToneRenderer renderer_{plans_};
  Wait wait_ = &WaitUntil;
  SoundControl control_;  // last: its thread uses everything above
};

}  // namespace quaverline
