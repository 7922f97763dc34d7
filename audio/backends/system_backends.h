// The system's backends, best first: a PipeWire stream of the program's own where PipeWire
// handles sound, a PulseAudio stream of its own, then SDL2 (ALSA without a server, WASAPI on
// Windows). Setting SDL_AUDIODRIVER leaves the program's own streams out.
#pragma once

#include "audio/backends/quiet_alsa.h"
#include "audio/device_opener.h"

#include <chrono>
#include <functional>
#include <optional>
#include <variant>

namespace quaverline {

class SystemBackends final : public DeviceOpener {
 public:
  using Clock = std::chrono::steady_clock;
  // Declined: PipeWire does not handle sound here. Unsuited: its graph runs cycles too short for
  // the stream's thread, which PulseAudio's protocol then plays through.
  enum class PipeWireAnswer { Opened, Declined, Unsuited, Failed };
  using Open = std::function<std::unique_ptr<OutputDevice>(RenderFunction render, void* userdata)>;
  // How each backend opens a device, and the clock; null where the system has no such backend.
  // Tests give their own.
  struct Openers {
    std::function<std::unique_ptr<OutputDevice>(RenderFunction render, void* userdata, PipeWireAnswer& answer)>
        pipewire;
    Open pulse;
    Open sdl;
    std::function<Clock::time_point()> now = &Clock::now;
  };

  // The system's own backends.
  SystemBackends();
  explicit SystemBackends(Openers openers) : openers_(std::move(openers)) {}
  SystemBackends(const SystemBackends&) = delete;
  SystemBackends& operator=(const SystemBackends&) = delete;

  std::vector<Backend> Backends(bool serversOnly) override;

  // How long a decline keeps PipeWire from being asked, and how long PipeWire alone is waited for
  // after its stream was lost.
  static constexpr auto kAskPipeWireAgain = std::chrono::seconds(60);
  static constexpr auto kWaitForPipeWire = std::chrono::seconds(10);

 private:
  std::unique_ptr<OutputDevice> OpenPipeWire(RenderFunction render, void* userdata);
  std::unique_ptr<OutputDevice> OpenOther(const Open& open, RenderFunction render, void* userdata);

  // What PipeWire said last, each state with its time.
  struct AskPipeWireFirst {};
  // PipeWire said it does not handle sound, or runs cycles too short for the stream's thread; it is
  // not asked again for a while, as a session manager that starts after the program may yet make
  // it handle sound, and the graph's cycle changes with the streams on it.
  struct PipeWireDeclined {
    Clock::time_point at;
  };
  // The device opened last is a PipeWire stream.
  struct OnPipeWire {};
  // That stream was lost: PipeWire alone is waited for at first, as while it restarts it has no
  // sink and no session manager for a moment, and its PulseAudio service comes up too. A decline
  // meanwhile only means "not yet"; cycles too short for the thread do not.
  struct WaitingForPipeWire {
    Clock::time_point since;
  };
  using PipeWireStates = std::variant<AskPipeWireFirst, PipeWireDeclined, OnPipeWire, WaitingForPipeWire>;

  Openers openers_;
  PipeWireStates pipewire_;
  std::optional<QuietAlsa> quietAlsa_;  // outlives every SDL device, which may use ALSA until closed
};

}  // namespace quaverline
