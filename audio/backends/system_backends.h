// The system's backends, best first: a PipeWire stream of the program's own where PipeWire
// handles sound, a PulseAudio stream of its own, then SDL2 (ALSA without a server, WASAPI on
// Windows). Setting SDL_AUDIODRIVER leaves the program's own streams out.
#pragma once

#include "audio/backends/quiet_alsa.h"
#include "audio/backends/sdl_library.h"
#include "audio/device_opener.h"

#include <atomic>
#include <chrono>
#include <optional>

namespace quaverline {

class SystemBackends final : public DeviceOpener {
 public:
  std::vector<Backend> Backends(bool serversOnly) override;

 private:
  std::unique_ptr<OutputDevice> OpenPipeWire(RenderFunction render, void* userdata);
  std::unique_ptr<OutputDevice> OpenPulse(RenderFunction render, void* userdata);
  std::unique_ptr<OutputDevice> OpenSdl(RenderFunction render, void* userdata);
  void OpenedOther();

  using Clock = std::chrono::steady_clock;

  // A PipeWire that said it does not handle sound is not asked again for a while: a session
  // manager that starts after the program may yet make it handle sound.
  std::optional<Clock::time_point> pipewireDeclined_;
  // After losing a PipeWire stream, PipeWire alone is waited for at first: while it restarts it
  // has no sink and no session manager for a moment, and its PulseAudio service comes up too.
  bool lastOnPipeWire_ = false;
  std::optional<Clock::time_point> waitingForPipeWire_;
  std::optional<QuietAlsa> quietAlsa_;  // outlives every SDL device, which may use ALSA until closed
};

}  // namespace quaverline
