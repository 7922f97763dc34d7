// The sound calls on one output device, a PipeWire or PulseAudio stream of the program's own or
// else SDL2's, whose render function plays the looping image and the beep. The device is opened
// off the window thread once the window is up (OpenInBackground), or else by the first sound; a
// sound that finds the device lost (its server restarted, say) opens one afresh. Without a
// usable device every call still keeps its timing; starts and stops are then silently ignored.
#pragma once

#include "audio/mixer.h"
#include "audio/precise_wait.h"
#include "audio/quiet_alsa.h"
#include "audio/output_device.h"
#include "audio/sdl_library.h"
#include "audio/sound_platform.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace quaverline {

class DeviceSound final : public SoundPlatform {
 public:
  DeviceSound() = default;
  ~DeviceSound() override;
  DeviceSound(const DeviceSound&) = delete;
  DeviceSound& operator=(const DeviceSound&) = delete;

  bool StartLoop(const LoopImage& image, std::int32_t lengthMs) override;
  void StopLoop() override;
  void Beep(std::int32_t frequency, std::int32_t durationMs) override;
  void Sleep(std::int32_t milliseconds) override;

  // Opens the device on a thread of its own, so that neither the window nor the first note waits
  // for the sound server; a sound asked for meanwhile waits until it is done.
  void OpenInBackground();

  // True when a device is open and working, after opening one if none has been tried yet or the
  // open one was lost.
  bool HasDevice();

  // How Beep and Sleep wait for their end: by default they block the calling thread. Another wait
  // must not return before the deadline. Set before the first call.
  using Wait = void (*)(std::chrono::steady_clock::time_point deadline);
  void SetWait(Wait wait) { wait_ = wait; }

  // True while the device still has loop or beep frames to play; a device running behind the
  // clock may still be playing the end of a tone whose call has returned.
  bool Sounding() const;

 private:
  using Clock = std::chrono::steady_clock;

  static void Render(void* userdata, std::int16_t* frames, int frameCount);
  // All of these run with mutex_ held.
  bool EnsureDevice();
  bool OpenDevice();
  std::unique_ptr<OutputDevice> OpenOutput();
  void WaitUntilSettled(Clock::time_point since) const;
  bool Stalled() const;
  void RetryInBackground();

  mutable std::mutex mutex_;  // held while the device is opened, closed, or its state changed
  std::optional<QuietAlsa> quietAlsa_;  // outlives every device, which may use ALSA until closed
  const SdlAudioCalls* sdl_ = nullptr;
  std::unique_ptr<OutputDevice> device_;
  bool tried_ = false;          // an open has been tried
  bool openerPending_ = false;  // opener_ is about to open or opening
  std::thread opener_;
  MixerState mixer_;  // shared with Render: changed only under the device lock
  Clock::time_point loopStart_;
  // Written by Render: when it last ran and how often, to tell a device that has stopped
  // asking for sound.
  std::atomic<Clock::rep> lastCallback_{0};
  std::atomic<std::int64_t> callbacks_{0};
  Wait wait_ = &WaitUntil;
};

}  // namespace quaverline
