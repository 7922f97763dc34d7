// One open SDL output device: stereo 16-bit 44 100 Hz in small buffers, on the audio subsystem
// started for it alone, so that closing it and opening afresh also reconnects SDL's backend to a
// sound server that has restarted.
#pragma once

#include "audio/backends/sdl_library.h"
#include "audio/output_device.h"

#include <memory>

namespace quaverline {

// 10 ms: a start or stop is heard from the next buffer on; smaller buffers let SDL's streams run dry.
constexpr int kSdlBufferFrames = 441;

class SdlDevice final : public OutputDevice {
 public:
  // Opens the default output device (through the driver SDL_AUDIODRIVER names, or else the first
  // of SDL's that works) and starts it calling `render`. Null when none could be opened; the
  // reason goes to the sound log.
  static std::unique_ptr<SdlDevice> Open(const SdlAudioCalls& sdl, RenderFunction render, void* userdata);
  ~SdlDevice() override;
  SdlDevice(const SdlDevice&) = delete;
  SdlDevice& operator=(const SdlDevice&) = delete;

  bool ReportedLost() const override;
  // A paused device no longer calls the render function; SDL2 itself keeps feeding silence.
  void SetActive(bool active) override { sdl_.PauseAudioDevice(id_, active ? 0 : 1); }
  bool OnServer() const override { return false; }

 private:
  SdlDevice(const SdlAudioCalls& sdl, RenderFunction render, void* userdata)
      : sdl_(sdl), render_(render), userdata_(userdata) {}
  static void Callback(void* self, Uint8* stream, int length);

  const SdlAudioCalls& sdl_;
  RenderFunction render_;
  void* userdata_;
  SDL_AudioDeviceID id_ = 0;
};

}  // namespace quaverline
