#include "audio/device_sound.h"

#include "audio/backends/system_backends.h"

#include <algorithm>
#include <cstring>

namespace quaverline {

namespace {

constexpr std::int32_t kLowestBeep = 37;
constexpr std::int32_t kHighestBeep = 32767;

}  // namespace

DeviceSound::DeviceSound() : DeviceSound(std::make_unique<SystemBackends>(), ControlTiming{}) {}

DeviceSound::DeviceSound(std::unique_ptr<DeviceOpener> opener, ControlTiming timing)
    : control_(renderer_, std::move(opener), [this] { return Sounding(); }, timing) {}

DeviceSound::~DeviceSound() { control_.Shutdown(); }

void DeviceSound::Shutdown() { control_.Shutdown(); }

void DeviceSound::Publish() {
  TonePlan& slot = plans_.Back();
  slot.loop.id = plan_.loop.id;
  slot.loop.frameCount = plan_.loop.frameCount;
  slot.loop.totalFrames = plan_.loop.totalFrames;
  slot.loop.requestedAt = plan_.loop.requestedAt;
  slot.loop.stopAt = plan_.loop.stopAt;
  std::memcpy(slot.loop.frames.data(), plan_.loop.frames.data(), std::size_t(plan_.loop.frameCount) * sizeof(WaveFrame));
  slot.beep = plan_.beep;
  plans_.Publish();
}

bool DeviceSound::StartLoop(const LoopImage& image, std::int32_t lengthMs) {
  {
    std::lock_guard lock(callers_);
    LoopPlan& loop = plan_.loop;
    loop.id += 1;
    loop.frameCount = std::clamp(image.frameCount, 0, kWaveCapacity);
    std::memcpy(loop.frames.data(), image.frames, std::size_t(loop.frameCount) * sizeof(WaveFrame));
    loop.totalFrames = FramesIn(lengthMs);
    loop.requestedAt = SteadyNanos();
    loop.stopAt = kNever;
    Publish();
    postedLoop_.store(loop.id, std::memory_order_release);
  }
  control_.Wanted();
  return control_.Playable();
}

void DeviceSound::StopLoop() {
  std::lock_guard lock(callers_);
  if (plan_.loop.id == 0 || plan_.loop.stopAt != kNever) return;
  plan_.loop.stopAt = SteadyNanos();
  Publish();
}

void DeviceSound::Beep(std::int32_t frequency, std::int32_t durationMs) {
  if (frequency < kLowestBeep || frequency > kHighestBeep || durationMs <= 0) return;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(durationMs);
  {
    std::lock_guard lock(callers_);
    BeepPlan& beep = plan_.beep;
    beep.id += 1;
    beep.frequency = frequency;
    beep.frames = FramesIn(durationMs);
    beep.requestedAt = SteadyNanos();
    Publish();
    postedBeep_.store(beep.id, std::memory_order_release);
  }
  control_.Wanted();
  wait_(deadline);
}

void DeviceSound::Sleep(std::int32_t milliseconds) {
  if (milliseconds > 0) wait_(std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds));
}

bool DeviceSound::Sounding() const {
  if (!control_.Playable()) return false;
  return renderer_.LoopDone() < postedLoop_.load(std::memory_order_acquire) ||
         renderer_.BeepDone() < postedBeep_.load(std::memory_order_acquire);
}

}  // namespace quaverline
