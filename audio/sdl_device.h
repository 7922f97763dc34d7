// One open SDL output device: stereo 16-bit 44 100 Hz with 10 ms buffers, on the audio subsystem
// started for it alone, so that closing it and opening afresh also reconnects SDL's backend to a
// sound server that has restarted.
#pragma once

#include "audio/sdl_library.h"

#include <memory>

namespace quaverline {

class SdlDevice {
 public:
  // Opens the default output device (through the driver SDL_AUDIODRIVER names, or else the first
  // of SDL's that works) and starts it calling `callback`. Null when none could be opened; the
  // reason goes to the sound log.
  static std::unique_ptr<SdlDevice> Open(const SdlAudioCalls& sdl, SDL_AudioCallback callback, void* userdata);
  ~SdlDevice();
  SdlDevice(const SdlDevice&) = delete;
  SdlDevice& operator=(const SdlDevice&) = delete;

  // The backend said the device is gone (unplugged, or its server went away).
  bool ReportedLost() const;

  void Lock() const { sdl_.LockAudioDevice(id_); }
  void Unlock() const { sdl_.UnlockAudioDevice(id_); }

 private:
  SdlDevice(const SdlAudioCalls& sdl, SDL_AudioDeviceID id) : sdl_(sdl), id_(id) {}

  const SdlAudioCalls& sdl_;
  SDL_AudioDeviceID id_;
};

// Holds the device lock for one short change of the state the callback reads.
class DeviceLock {
 public:
  explicit DeviceLock(const SdlDevice& device) : device_(device) { device_.Lock(); }
  ~DeviceLock() { device_.Unlock(); }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

 private:
  const SdlDevice& device_;
};

}  // namespace quaverline
