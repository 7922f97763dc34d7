// The sound-control thread: the one place where output devices are opened, watched, put to sleep,
// woken, replaced and closed, as an explicit set of states. The window thread only tells it that
// sound is wanted and goes on; it never waits for a device.
#pragma once

#include "audio/device_opener.h"
#include "audio/output_device.h"
#include "audio/tone_renderer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <variant>

namespace quaverline {

// What the sound-control thread is doing with the output, as the other threads see it. The control
// thread keeps each state's own data beside it (SoundControl::States).
enum class DeviceState {
  NotAskedYet,  // no sound asked for, no open tried
  Opening,      // a backend is being opened
  NoneFound,    // no backend had a device; sound asked for tries again after a pause
  Open,         // flowing
  Asleep,       // open but not asking for sound after a silence, so that the server may suspend its output
  Lost,         // the device went away; opening another, with growing pauses between tries
  ShutDown,     // closed for good
};

const char* DeviceStateName(DeviceState state);

struct ControlTiming {
  // A sound server's new stream bunches or drops its first buffers while it starts, so a new
  // device renders silence for this many buffers before it takes its first tone ...
  std::int64_t settleBuffers = 3;
  // ... or for at most this long (an idle sink may take seconds to wake).
  std::chrono::milliseconds settleLimit{500};
  // A working device asks for a buffer every few milliseconds; one that has not for this long has
  // stopped (its server went away), whether or not its backend noticed.
  std::chrono::milliseconds stallLimit{1000};
  // Silent this long, the device goes to sleep.
  std::chrono::milliseconds idleAfter{10000};
  // How often an open device is looked at for a loss or a stall, and an asleep one for a loss.
  std::chrono::milliseconds lookOpen{50};
  std::chrono::milliseconds lookIdle{250};
  // Pauses between tries after a loss: doubling from the first up to the longest.
  std::chrono::milliseconds firstRetry{50};
  std::chrono::milliseconds longestRetry{2000};
  // After no device could be had at all, sound asked for tries again only after this pause.
  std::chrono::milliseconds noDeviceRetry{3000};
};

// What one opened device renders through; one per backend tried, so that a late callback of a
// device that was given up never counts for the next one.
class DevicePort {
 public:
  DevicePort(ToneRenderer& renderer, const ControlTiming& timing);
  static void Render(void* self, std::int16_t* frames, int frameCount);

  std::int64_t Callbacks() const { return callbacks_.load(std::memory_order_relaxed); }
  Nanos LastCallback() const { return lastCallback_.load(std::memory_order_relaxed); }
  // Starts the stall clock afresh: a device that was asleep did not ask for frames.
  void Restart(Nanos now) { lastCallback_.store(now, std::memory_order_relaxed); }

 private:
  ToneRenderer& renderer_;
  const std::int64_t settleBuffers_;
  const Nanos settleLimit_;
  const Nanos opened_;
  std::atomic<std::int64_t> callbacks_{0};
  std::atomic<Nanos> lastCallback_;
};

class SoundControl {
 public:
  // `busy` tells whether a tone is asked for or still sounding.
  SoundControl(ToneRenderer& renderer, std::unique_ptr<DeviceOpener> opener, std::function<bool()> busy,
               ControlTiming timing = {});
  ~SoundControl();
  SoundControl(const SoundControl&) = delete;
  SoundControl& operator=(const SoundControl&) = delete;

  // Sound is wanted now: opens a device, wakes a sleeping one, or (after none could be had) tries
  // again once the pause is over. Returns at once.
  void Wanted();
  // Opens a device in the background, if none is open or being opened. Returns at once.
  void OpenSoon();
  // Closes the device and ends the thread; sound asked for afterwards stays silent.
  void Shutdown();

  DeviceState State() const { return state_.load(std::memory_order_acquire); }
  // The backend of the device opened last ("PipeWire", "PulseAudio", "SDL"), or null.
  const char* OpenedBackend() const { return opened_.load(std::memory_order_acquire); }
  // A device is open, opening, asleep or being replaced: a tone asked for now will be heard.
  bool Playable() const;
  // Waits up to `limit` until the open that is under way (or asked for now) has ended; true when
  // a device is open. For tests and benchmarks: the window never calls it.
  bool WaitForOpen(std::chrono::milliseconds limit);

 private:
  using Clock = std::chrono::steady_clock;

  // An opened device and the port it renders through. The device is declared last, so that it
  // (and its thread) ends before the port it calls.
  struct OpenedDevice {
    std::unique_ptr<DevicePort> port;
    std::unique_ptr<OutputDevice> device;
  };

  // The control thread's states, each with the data it owns, in the order of DeviceState.
  struct NotAskedYet {};
  struct Opening {};
  struct NoneFound {
    Clock::time_point retryAt;  // sound asked for before this waits for it
    bool retryPending = false;  // sound was asked for during the pause
  };
  struct Open {
    OpenedDevice opened;
    Nanos awakeSince;  // opened or woken: silence counts from here at the earliest
  };
  struct Asleep {
    OpenedDevice opened;
  };
  struct Lost {
    bool onServer;                      // the lost device was a sound server's: wait for a server again
    std::chrono::milliseconds backoff;  // the pause after the next failed try
    Clock::time_point retryAt;
  };
  struct ShutDown {};
  using States = std::variant<NotAskedYet, Opening, NoneFound, Open, Asleep, Lost, ShutDown>;

  void Run();
  // One round on the control thread; returns when to look again.
  Clock::time_point Step(bool wanted, bool openWanted);
  Clock::time_point On(NotAskedYet&, bool wanted, bool openWanted, Clock::time_point now);
  Clock::time_point On(Opening&, bool wanted, bool openWanted, Clock::time_point now);
  Clock::time_point On(NoneFound& pause, bool wanted, bool openWanted, Clock::time_point now);
  Clock::time_point On(Open& open, bool wanted, bool openWanted, Clock::time_point now);
  Clock::time_point On(Asleep& asleep, bool wanted, bool openWanted, Clock::time_point now);
  Clock::time_point On(Lost& lost, bool wanted, bool openWanted, Clock::time_point now);
  Clock::time_point On(ShutDown&, bool wanted, bool openWanted, Clock::time_point now);
  // Sound asked for while no device was ever had: tries every backend; none found when none opens.
  Clock::time_point OpenAsked();
  // Tries the backends in order and enters Open with the first device that opens; false when
  // none did, in the Opening state still.
  bool TryOpen(bool serversOnly);
  // Closes a device that went away and tries another at once; returns when to look again.
  Clock::time_point Lose(OpenedDevice& opened, Clock::time_point now);
  void Close(OpenedDevice& opened);
  bool Stalled(const OpenedDevice& opened, Nanos now) const;
  template <typename Next>
  void Enter(Next&& next);
  void FinishAttempt();

  ToneRenderer& renderer_;
  std::unique_ptr<DeviceOpener> opener_;
  std::function<bool()> busy_;
  const ControlTiming timing_;

  States states_;  // the control thread's; the others read state_
  std::atomic<DeviceState> state_{DeviceState::NotAskedYet};
  std::atomic<Nanos> lastWanted_{0};
  std::atomic<const char*> opened_{nullptr};

  std::mutex mutex_;  // guards the requests below; never held while a device is touched
  std::condition_variable wake_;
  std::condition_variable attemptEnded_;
  bool wanted_ = false;
  bool openWanted_ = false;
  bool stop_ = false;
  std::uint64_t attempts_ = 0;  // opens that have ended
  std::thread thread_;
};

}  // namespace quaverline
