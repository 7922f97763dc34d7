#include "audio/backends/system_backends.h"

#include "audio/backends/sdl_device.h"
#include "audio/sound_log.h"

#ifdef QUAVERLINE_SOUND_SERVERS
#include "audio/backends/pipewire_device.h"
#include "audio/backends/pulse_device.h"
#endif

#include <cstdlib>

namespace quaverline {

namespace {

constexpr auto kAskPipeWireAgain = std::chrono::seconds(60);
constexpr auto kWaitForPipeWire = std::chrono::seconds(10);

}  // namespace

std::vector<Backend> SystemBackends::Backends(bool serversOnly) {
  std::vector<Backend> backends;
#ifdef QUAVERLINE_SOUND_SERVERS
  // The program's own streams render exactly what the server asks for when it asks, which SDL's
  // server backends do not.
  const char* driver = std::getenv("SDL_AUDIODRIVER");
  const bool sdlNamed = driver != nullptr && *driver != '\0';
  if (sdlNamed) serversOnly = false;
  if (!sdlNamed) {
    const auto now = Clock::now();
    if (serversOnly && lastOnPipeWire_ && !waitingForPipeWire_) waitingForPipeWire_ = now;
    const bool pipewireOnly = serversOnly && lastOnPipeWire_ && now - *waitingForPipeWire_ < kWaitForPipeWire;
    if (!pipewireDeclined_ || now - *pipewireDeclined_ > kAskPipeWireAgain || waitingForPipeWire_)
      backends.push_back({"PipeWire", [this](RenderFunction r, void* u) { return OpenPipeWire(r, u); }});
    if (pipewireOnly) return backends;
    backends.push_back({"PulseAudio", [this](RenderFunction r, void* u) { return OpenPulse(r, u); }});
  }
#endif
  if (!serversOnly) backends.push_back({"SDL", [this](RenderFunction r, void* u) { return OpenSdl(r, u); }});
  return backends;
}

std::unique_ptr<OutputDevice> SystemBackends::OpenPipeWire([[maybe_unused]] RenderFunction render,
                                                           [[maybe_unused]] void* userdata) {
#ifdef QUAVERLINE_SOUND_SERVERS
  const PipeWireCalls* pipewire = LoadPipeWire();
  if (pipewire == nullptr) return nullptr;
  PipeWireDevice::Outcome outcome{};
  auto device = PipeWireDevice::Open(*pipewire, render, userdata, outcome);
  // While PipeWire restarts, a decline only means "not yet".
  if (outcome == PipeWireDevice::Outcome::Declined && !waitingForPipeWire_) pipewireDeclined_ = Clock::now();
  if (outcome == PipeWireDevice::Outcome::Opened) {
    pipewireDeclined_.reset();
    waitingForPipeWire_.reset();
  }
  if (device) lastOnPipeWire_ = true;
  return device;
#else
  return nullptr;
#endif
}

std::unique_ptr<OutputDevice> SystemBackends::OpenPulse([[maybe_unused]] RenderFunction render,
                                                        [[maybe_unused]] void* userdata) {
#ifdef QUAVERLINE_SOUND_SERVERS
  const PulseCalls* pulse = LoadPulse();
  if (pulse == nullptr) return nullptr;
  auto device = PulseDevice::Open(*pulse, render, userdata);
  if (device) OpenedOther();
  return device;
#else
  return nullptr;
#endif
}

std::unique_ptr<OutputDevice> SystemBackends::OpenSdl(RenderFunction render, void* userdata) {
  if (!quietAlsa_) quietAlsa_.emplace();
  const SdlAudioCalls* sdl = LoadSdlAudio();
  if (sdl == nullptr) return nullptr;
  auto device = SdlDevice::Open(*sdl, render, userdata);
  if (device) OpenedOther();
  return device;
}

void SystemBackends::OpenedOther() {
  lastOnPipeWire_ = false;
  waitingForPipeWire_.reset();
}

}  // namespace quaverline
