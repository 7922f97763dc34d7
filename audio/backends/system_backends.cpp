#include "audio/backends/system_backends.h"

#include "audio/backends/sdl_device.h"
#include "audio/backends/sdl_library.h"

#ifdef QUAVERLINE_SOUND_SERVERS
#include "audio/backends/pipewire_device.h"
#include "audio/backends/pulse_device.h"
#endif

#include <cstdlib>

namespace quaverline {

SystemBackends::SystemBackends() {
#ifdef QUAVERLINE_SOUND_SERVERS
  openers_.pipewire = [](RenderFunction render, void* userdata, PipeWireAnswer& answer) -> std::unique_ptr<OutputDevice> {
    answer = PipeWireAnswer::Failed;
    const PipeWireCalls* pipewire = LoadPipeWire();
    if (pipewire == nullptr) return nullptr;
    PipeWireDevice::Outcome outcome{};
    auto device = PipeWireDevice::Open(*pipewire, render, userdata, outcome);
    if (outcome == PipeWireDevice::Outcome::Opened) answer = PipeWireAnswer::Opened;
    if (outcome == PipeWireDevice::Outcome::Declined) answer = PipeWireAnswer::Declined;
    if (outcome == PipeWireDevice::Outcome::ShortCycles) answer = PipeWireAnswer::Unsuited;
    return device;
  };
  openers_.pulse = [](RenderFunction render, void* userdata) -> std::unique_ptr<OutputDevice> {
    const PulseCalls* pulse = LoadPulse();
    return pulse == nullptr ? nullptr : PulseDevice::Open(*pulse, render, userdata);
  };
#endif
  openers_.sdl = [this](RenderFunction render, void* userdata) -> std::unique_ptr<OutputDevice> {
    if (!quietAlsa_) quietAlsa_.emplace();
    const SdlAudioCalls* sdl = LoadSdlAudio();
    return sdl == nullptr ? nullptr : SdlDevice::Open(*sdl, render, userdata);
  };
}

std::vector<Backend> SystemBackends::Backends(bool serversOnly) {
  std::vector<Backend> backends;
  if (openers_.pipewire || openers_.pulse) {
    // The program's own streams render exactly what the server asks for when it asks, which SDL's
    // server backends do not.
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const bool sdlNamed = driver != nullptr && *driver != '\0';
    if (sdlNamed) serversOnly = false;
    if (!sdlNamed) {
      const Clock::time_point now = openers_.now();
      if (serversOnly && std::holds_alternative<OnPipeWire>(pipewire_)) pipewire_ = WaitingForPipeWire{now};
      const auto* waiting = std::get_if<WaitingForPipeWire>(&pipewire_);
      const auto* declined = std::get_if<PipeWireDeclined>(&pipewire_);
      if (openers_.pipewire && (!declined || now - declined->at > kAskPipeWireAgain))
        backends.push_back({"PipeWire", [this](RenderFunction r, void* u) { return OpenPipeWire(r, u); }});
      if (serversOnly && waiting && now - waiting->since < kWaitForPipeWire) return backends;
      if (openers_.pulse)
        backends.push_back({"PulseAudio", [this](RenderFunction r, void* u) { return OpenOther(openers_.pulse, r, u); }});
    }
  }
  if (!serversOnly && openers_.sdl)
    backends.push_back({"SDL", [this](RenderFunction r, void* u) { return OpenOther(openers_.sdl, r, u); }});
  return backends;
}

std::unique_ptr<OutputDevice> SystemBackends::OpenPipeWire(RenderFunction render, void* userdata) {
  PipeWireAnswer answer = PipeWireAnswer::Failed;
  auto device = openers_.pipewire(render, userdata, answer);
  if (device) {
    pipewire_ = OnPipeWire{};
  } else if (answer == PipeWireAnswer::Unsuited ||
             (answer == PipeWireAnswer::Declined && !std::holds_alternative<WaitingForPipeWire>(pipewire_))) {
    pipewire_ = PipeWireDeclined{openers_.now()};
  }
  return device;
}

std::unique_ptr<OutputDevice> SystemBackends::OpenOther(const Open& open, RenderFunction render, void* userdata) {
  auto device = open(render, userdata);
  // A decline still holds: PipeWire was not asked.
  if (device && !std::holds_alternative<PipeWireDeclined>(pipewire_)) pipewire_ = AskPipeWireFirst{};
  return device;
}

}  // namespace quaverline
