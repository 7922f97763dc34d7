// The sound calls on SDL2's audio subsystem: one stereo 16-bit 44 100 Hz output device whose
// callback renders the looping image and the beep. The device is opened when sound is first
// asked for, not at construction, so a start that plays nothing loads no sound library. Without
// a usable device every call still keeps its timing; starts and stops are then silently ignored.
#pragma once

#include "audio/mixer.h"
#include "audio/precise_wait.h"
#include "audio/quiet_alsa.h"
#include "audio/sdl_library.h"
#include "audio/sound_platform.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>

namespace quaverline {

class SdlSound final : public SoundPlatform {
 public:
  SdlSound() = default;
  ~SdlSound() override;
  SdlSound(const SdlSound&) = delete;
  SdlSound& operator=(const SdlSound&) = delete;

  bool PlaySound(const void* sound, std::uint32_t flags) override;
  void Beep(std::int32_t frequency, std::int32_t durationMs) override;
  void Sleep(std::int32_t milliseconds) override;

  // Opens the device if that has not been tried yet; the first calls may come from two threads
  // at once. False when no device could be opened or the device has been lost.
  bool HasDevice();

  // How Beep and Sleep wait for their end: by default they block the calling thread. Another wait
  // must not return before the deadline. Set before the first call.
  using Wait = void (*)(std::chrono::steady_clock::time_point deadline);
  void SetWait(Wait wait) { wait_ = wait; }

  // True while the device still has loop or beep frames to play; a device running behind the
  // clock may still be playing the end of a tone whose call has returned.
  bool Sounding() const;

 private:
  static void Callback(void* userdata, Uint8* stream, int length);
  void Open();
  bool Opened() const { return opened_.load(std::memory_order_acquire); }

  std::once_flag openOnce_;
  std::atomic<bool> opened_{false};  // set once Open() has finished; the fields below are then fixed
  const SdlAudioCalls* sdl_ = nullptr;
  std::optional<QuietAlsa> quietAlsa_;  // outlives the subsystem, which may use ALSA until it quits
  bool subsystemUp_ = false;
  SDL_AudioDeviceID device_ = 0;
  MixerState mixer_;  // shared with the callback: changed only under the device lock
  std::chrono::steady_clock::time_point loopStart_;  // caller's thread only
  Wait wait_ = &WaitUntil;
};

}  // namespace quaverline
