#include "audio/device_sound.h"

#include "audio/precise_wait.h"
#include "audio/sdl_device.h"
#include "audio/sound_log.h"

#ifdef QUAVERLINE_SOUND_SERVERS
#include "audio/pipewire_device.h"
#include "audio/pulse_device.h"
#endif

#include <cmath>
#include <cstdlib>

namespace quaverline {

namespace {

constexpr std::int32_t kLowestBeep = 37;
constexpr std::int32_t kHighestBeep = 32767;

// A sound server's new stream bunches or drops its first buffers while it starts, so a new
// device has asked for this many buffers before its first tone goes in ...
constexpr std::int64_t kSettleBuffers = 3;
// ... unless its output takes longer than this to wake (an idle sink may take seconds): the
// device is kept all the same and plays once its output is up.
constexpr auto kSettleLimit = std::chrono::milliseconds(500);
// A working device asks for a buffer every few tens of milliseconds at most; one that did and then
// has not for this long has stopped (its server went away), whether or not the backend noticed.
constexpr auto kStallLimit = std::chrono::milliseconds(1000);

}  // namespace

DeviceSound::~DeviceSound() {
  if (opener_.joinable()) opener_.join();
  std::lock_guard lock(mutex_);
  device_.reset();
}

void DeviceSound::OpenInBackground() {
  std::lock_guard lock(mutex_);
  if (!tried_) RetryInBackground();
}

void DeviceSound::RetryInBackground() {
  if (openerPending_) return;
  // A finished opener cleared openerPending_ under the lock; all it has left is to return.
  if (opener_.joinable()) opener_.join();
  openerPending_ = true;
  opener_ = std::thread([this] {
    std::lock_guard lock(mutex_);
    if (!device_) OpenDevice();
    openerPending_ = false;
  });
}

bool DeviceSound::HasDevice() {
  std::lock_guard lock(mutex_);
  return EnsureDevice();
}

bool DeviceSound::EnsureDevice() {
  if (device_) {
    const bool reported = device_->ReportedLost();
    if (!reported && !Stalled()) return true;
    qCInfo(lcSound, "device lost (%s); opening one afresh",
           reported ? "the backend reported it gone" : "it stopped asking for sound");
    device_.reset();
    return OpenDevice();
  }
  if (!tried_) return OpenDevice();
  // None could be had before: look again off this thread, so that a machine without sound never
  // makes a click wait; a later sound finds what that found.
  RetryInBackground();
  return false;
}

bool DeviceSound::OpenDevice() {
  tried_ = true;
  mixer_ = MixerState{};  // nothing of a lost device's tone carries over
  const Clock::time_point opening = Clock::now();
  lastCallback_.store(opening.time_since_epoch().count(), std::memory_order_relaxed);
  callbacks_.store(0, std::memory_order_relaxed);
  device_ = OpenOutput();
  if (!device_) {
    qCInfo(lcSound, "no sound device: tones keep their time but are not heard");
    return false;
  }
  WaitUntilSettled(opening);
  return true;
}

std::unique_ptr<OutputDevice> DeviceSound::OpenOutput() {
#ifdef QUAVERLINE_SOUND_SERVERS
  // Streams of the program's own come first, unless the user named one of SDL's drivers. They
  // render exactly what the server asks for when it asks: SDL 2.26's PipeWire backend hands the
  // graph whole buffers whatever it asks for, which broke tones up, and its PulseAudio backend
  // lets its stream run nearly dry before it refills, so a click was heard 8 or 17 ms later, as
  // it happened, or 20 to 28 ms later through pipewire-pulse.
  const char* driver = std::getenv("SDL_AUDIODRIVER");
  if (driver == nullptr || *driver == '\0') {
    if (const PipeWireCalls* pipewire = LoadPipeWire()) {
      if (auto device = PipeWireDevice::Open(*pipewire, &DeviceSound::Render, this)) return device;
    }
    if (const PulseCalls* pulse = LoadPulse()) {
      if (auto device = PulseDevice::Open(*pulse, &DeviceSound::Render, this)) return device;
    }
  }
#endif
  if (!quietAlsa_) quietAlsa_.emplace();
  if (sdl_ == nullptr) sdl_ = LoadSdlAudio();
  if (sdl_ == nullptr) return nullptr;
  return SdlDevice::Open(*sdl_, &DeviceSound::Render, this);
}

void DeviceSound::WaitUntilSettled(Clock::time_point since) const {
  // The limit counts from now, not from `since`: a PipeWire that links no stream takes a second
  // before SDL's device is opened.
  const Clock::time_point opened = Clock::now();
  while (callbacks_.load(std::memory_order_relaxed) < kSettleBuffers) {
    if (Clock::now() - opened > kSettleLimit) {
      qCInfo(lcSound, "the output has not asked for sound within %lld ms; it plays once it does",
             static_cast<long long>(kSettleLimit.count()));
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  qCInfo(lcSound, "sound flows %.1f ms after opening",
         std::chrono::duration<double, std::milli>(Clock::now() - since).count());
}

bool DeviceSound::Stalled() const {
  if (callbacks_.load(std::memory_order_relaxed) == 0) return false;  // still waking up
  const Clock::time_point last{Clock::duration(lastCallback_.load(std::memory_order_relaxed))};
  return Clock::now() - last > kStallLimit;
}

bool DeviceSound::Sounding() const {
  std::lock_guard lock(mutex_);
  if (!device_) return false;
  DeviceLock deviceLock(*device_);
  return quaverline::Sounding(mixer_);
}

bool DeviceSound::StartLoop(const LoopImage& image, std::int32_t lengthMs) {
  std::lock_guard lock(mutex_);
  // Opening a device is not part of the tone: its time is taken after.
  if (!EnsureDevice()) return false;
  loopStart_ = Clock::now();
  DeviceLock deviceLock(*device_);
  quaverline::StartLoop(mixer_, image, FramesIn(lengthMs));
  return true;
}

void DeviceSound::StopLoop() {
  std::lock_guard lock(mutex_);
  if (!device_) return;
  // An early stop ends the loop where the caller's clock says it is, or at once if the device has
  // rendered that far already.
  const std::chrono::duration<double> elapsed = Clock::now() - loopStart_;
  const auto frames = static_cast<std::int64_t>(std::llround(elapsed.count() * kSampleRate));
  DeviceLock deviceLock(*device_);
  StopLoopAfter(mixer_, frames);
}

void DeviceSound::Beep(std::int32_t frequency, std::int32_t durationMs) {
  if (frequency < kLowestBeep || frequency > kHighestBeep || durationMs <= 0) return;
  Clock::time_point deadline;
  {
    std::lock_guard lock(mutex_);
    const bool device = EnsureDevice();
    deadline = Clock::now() + std::chrono::milliseconds(durationMs);  // after opening, as for a loop
    if (device) {
      DeviceLock deviceLock(*device_);
      StartBeep(mixer_, frequency, FramesIn(durationMs));
    }
  }
  wait_(deadline);
}

void DeviceSound::Sleep(std::int32_t milliseconds) {
  if (milliseconds > 0) wait_(std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds));
}

void DeviceSound::Render(void* userdata, std::int16_t* frames, int frameCount) {
  // The device holds its lock while it calls this.
  auto* self = static_cast<DeviceSound*>(userdata);
  self->lastCallback_.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed);
  self->callbacks_.fetch_add(1, std::memory_order_relaxed);
  RenderFrames(self->mixer_, frames, frameCount);
}

}  // namespace quaverline
