#include "audio/sound_control.h"

#include "audio/sound_log.h"

#include <algorithm>

namespace quaverline {

namespace {

Nanos ToNanos(std::chrono::milliseconds ms) { return std::chrono::duration_cast<std::chrono::nanoseconds>(ms).count(); }

double MsSince(Nanos start) { return double(SteadyNanos() - start) / 1e6; }

constexpr int kSettlingStallFactor = 5;

}  // namespace

const char* DeviceStateName(DeviceState state) {
  switch (state) {
    case DeviceState::Closed: return "closed";
    case DeviceState::Opening: return "opening";
    case DeviceState::Open: return "open";
    case DeviceState::Idle: return "asleep";
    case DeviceState::Lost: return "lost";
  }
  return "?";
}

DevicePort::DevicePort(ToneRenderer& renderer, const ControlTiming& timing)
    : renderer_(renderer),
      settleBuffers_(timing.settleBuffers),
      settleLimit_(ToNanos(timing.settleLimit)),
      opened_(SteadyNanos()),
      lastCallback_(opened_) {}

void DevicePort::Render(void* self, std::int16_t* frames, int frameCount) {
  auto* port = static_cast<DevicePort*>(self);
  const Nanos now = SteadyNanos();
  const std::int64_t before = port->callbacks_.fetch_add(1, std::memory_order_relaxed);
  port->lastCallback_.store(now, std::memory_order_relaxed);
  if (before < port->settleBuffers_ && now - port->opened_ < port->settleLimit_) {
    ToneRenderer::RenderSilence(frames, frameCount);
    return;
  }
  port->renderer_.Render(frames, frameCount, now);
}

SoundControl::SoundControl(ToneRenderer& renderer, std::unique_ptr<DeviceOpener> opener, std::function<bool()> busy,
                           ControlTiming timing)
    : renderer_(renderer), opener_(std::move(opener)), busy_(std::move(busy)), timing_(timing) {
  thread_ = std::thread([this] { Run(); });
}

SoundControl::~SoundControl() { Shutdown(); }

void SoundControl::Shutdown() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void SoundControl::Wanted() {
  lastWanted_.store(SteadyNanos(), std::memory_order_relaxed);
  {
    std::lock_guard lock(mutex_);
    wanted_ = true;
  }
  wake_.notify_one();
}

void SoundControl::OpenSoon() {
  {
    std::lock_guard lock(mutex_);
    openWanted_ = true;
  }
  wake_.notify_one();
}

bool SoundControl::Playable() const {
  // Read in this order: TryOpen marks the state before it marks the try.
  const bool tried = tried_.load(std::memory_order_acquire);
  return !tried || State() != DeviceState::Closed;
}

bool SoundControl::WaitForOpen(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  const DeviceState state = State();
  if (state == DeviceState::Open || state == DeviceState::Idle) return true;
  // An open that found nothing has answered already.
  if (state == DeviceState::Closed && tried_.load(std::memory_order_acquire)) return false;
  const std::uint64_t before = attempts_;
  openWanted_ = true;
  wake_.notify_one();
  attemptEnded_.wait_for(lock, limit, [&] { return attempts_ > before || stop_; });
  const DeviceState now = State();
  return now == DeviceState::Open || now == DeviceState::Idle;
}

void SoundControl::SetState(DeviceState state) { state_.store(state, std::memory_order_release); }

void SoundControl::FinishAttempt() {
  {
    std::lock_guard lock(mutex_);
    ++attempts_;
  }
  attemptEnded_.notify_all();
}

void SoundControl::Run() {
  std::unique_lock lock(mutex_);
  while (!stop_) {
    const bool wanted = std::exchange(wanted_, false);
    const bool openWanted = std::exchange(openWanted_, false) || wanted;
    lock.unlock();
    const Clock::time_point next = Step(wanted, openWanted);
    lock.lock();
    wake_.wait_until(lock, next, [this] { return stop_ || wanted_ || openWanted_; });
  }
  lock.unlock();
  Close();
  SetState(DeviceState::Closed);
  FinishAttempt();
}

SoundControl::Clock::time_point SoundControl::Step(bool wanted, bool openWanted) {
  const Clock::time_point now = Clock::now();
  switch (State()) {
    case DeviceState::Closed:
      retryPending_ = retryPending_ || openWanted;
      if (!retryPending_) return Clock::time_point::max();
      // Sound asked for during the pause after a failed open waits for its end.
      if (tried_.load(std::memory_order_relaxed) && now < retryAt_) return retryAt_;
      retryPending_ = false;
      if (!TryOpen(false)) {
        qCInfo(lcSound, "no sound device: tones keep their time but are not heard");
        retryAt_ = Clock::now() + timing_.noDeviceRetry;
      }
      FinishAttempt();
      break;

    case DeviceState::Open: {
      const bool reported = device_->ReportedLost();
      const Nanos nanos = SteadyNanos();
      if (reported || Stalled(nanos)) {
        qCInfo(lcSound, "device lost (%s); opening one afresh",
               reported ? "the backend reported it gone" : "it stopped asking for sound");
        return Lose(now);
      }
      const Nanos lastActivity =
          std::max({renderer_.LastSounding(), lastWanted_.load(std::memory_order_relaxed), awakeSince_});
      if (!wanted && !busy_() && nanos - lastActivity >= ToNanos(timing_.idleAfter)) {
        device_->SetActive(false);
        SetState(DeviceState::Idle);
        qCInfo(lcSound, "silent for %lld ms: the device sleeps", static_cast<long long>(timing_.idleAfter.count()));
        // A tone asked for while it went to sleep wakes it in the next round.
        if (busy_()) return now;
        return now + timing_.lookIdle;
      }
      return now + timing_.lookOpen;
    }

    case DeviceState::Idle:
      if (device_->ReportedLost()) {
        qCInfo(lcSound, "device lost while asleep (the backend reported it gone); opening one afresh");
        return Lose(now);
      }
      if (wanted || busy_()) {
        awakeSince_ = SteadyNanos();
        port_->Restart(awakeSince_);
        device_->SetActive(true);
        SetState(DeviceState::Open);
        qCInfo(lcSound, "sound asked for: the device wakes");
        return now + timing_.lookOpen;
      }
      return now + timing_.lookIdle;

    case DeviceState::Lost:
      // A tone asked for tries at once: the first note after a server's restart is on time.
      if (now < retryAt_ && !wanted) return retryAt_;
      if (TryOpen(lostOnServer_)) {
        FinishAttempt();
        return Clock::now() + timing_.lookOpen;
      }
      SetState(DeviceState::Lost);
      FinishAttempt();
      retryAt_ = Clock::now() + backoff_;
      backoff_ = std::min(backoff_ * 2, timing_.longestRetry);
      return retryAt_;

    case DeviceState::Opening:
      break;
  }
  return Clock::now() + timing_.lookOpen;
}

SoundControl::Clock::time_point SoundControl::Lose(Clock::time_point now) {
  lostOnServer_ = device_->OnServer();
  Close();
  SetState(DeviceState::Lost);
  backoff_ = timing_.firstRetry;
  retryAt_ = now;
  return now;
}

bool SoundControl::TryOpen(bool serversOnly) {
  const DeviceState before = State();
  SetState(DeviceState::Opening);
  tried_.store(true, std::memory_order_release);
  for (Backend& backend : opener_->Backends(serversOnly)) {
    auto port = std::make_unique<DevicePort>(renderer_, timing_);
    const Nanos opening = SteadyNanos();
    std::unique_ptr<OutputDevice> device = backend.open(&DevicePort::Render, port.get());
    if (!device) continue;
    // Tones asked for meanwhile wait in the plan until the stream has settled.
    const Nanos openedAt = SteadyNanos();
    while (port->Callbacks() < timing_.settleBuffers && SteadyNanos() - openedAt < ToNanos(timing_.settleLimit))
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (port->Callbacks() >= timing_.settleBuffers)
      qCInfo(lcSound, "%s: sound flows %.1f ms after opening", backend.name, MsSince(opening));
    else
      qCInfo(lcSound, "%s: the output has not asked for sound within %lld ms; it plays once it does",
             backend.name, static_cast<long long>(timing_.settleLimit.count()));
    device_ = std::move(device);
    port_ = std::move(port);
    opened_.store(backend.name, std::memory_order_release);
    awakeSince_ = SteadyNanos();
    SetState(DeviceState::Open);
    return true;
  }
  SetState(before == DeviceState::Lost ? DeviceState::Lost : DeviceState::Closed);
  return false;
}

void SoundControl::Close() {
  device_.reset();  // its thread has ended when this returns
  port_.reset();
  renderer_.Forget();
}

bool SoundControl::Stalled(Nanos now) const {
  // A sink that wakes from a long sleep, or a null sink that first renders in large blocks, may
  // take seconds between the new stream's first buffers and the rest.
  const auto limit = port_->Callbacks() < timing_.settleBuffers ? kSettlingStallFactor * timing_.stallLimit
                                                                 : timing_.stallLimit;
  return now - port_->LastCallback() > ToNanos(limit);
}

}  // namespace quaverline
