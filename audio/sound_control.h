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

namespace quaverline {

enum class DeviceState {
  Closed,   // none open: never asked for, or none could be had
  Opening,  // a backend is being opened
  Open,     // flowing
  Idle,     // open but asleep after a silence, so that the server may suspend its output
  Lost,     // the device went away; opening another, with growing pauses between tries
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

  void Run();
  // One round on the control thread; returns when to look again.
  Clock::time_point Step(bool wanted, bool openWanted);
  bool TryOpen(bool serversOnly);
  // Closes a device that went away and tries another at once; returns when to look again.
  Clock::time_point Lose(Clock::time_point now);
  void Close();
  bool Stalled(Nanos now) const;
  void SetState(DeviceState state);
  void FinishAttempt();

  ToneRenderer& renderer_;
  std::unique_ptr<DeviceOpener> opener_;
  std::function<bool()> busy_;
  const ControlTiming timing_;

  // Owned by the control thread.
  std::unique_ptr<OutputDevice> device_;
  std::unique_ptr<DevicePort> port_;
  bool retryPending_ = false;  // sound was asked for while none could be had
  bool lostOnServer_ = false;
  std::chrono::milliseconds backoff_{0};
  Clock::time_point retryAt_{};
  Nanos awakeSince_ = 0;  // opened or woken

  std::atomic<bool> tried_{false};
  std::atomic<DeviceState> state_{DeviceState::Closed};
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
