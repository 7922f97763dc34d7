#include "audio/sound_control.h"

#include "audio/sound_log.h"

#include <algorithm>
#include <type_traits>

namespace quaverline {

namespace {

Nanos ToNanos(std::chrono::milliseconds ms) { return std::chrono::duration_cast<std::chrono::nanoseconds>(ms).count(); }

double MsSince(Nanos start) { return double(SteadyNanos() - start) / 1e6; }

constexpr int kSettlingStallFactor = 5;

}  // namespace

const char* DeviceStateName(DeviceState state) {
  switch (state) {
    case DeviceState::NotAskedYet: return "not asked yet";
    case DeviceState::Opening: return "opening";
    case DeviceState::NoneFound: return "none found";
    case DeviceState::Open: return "open";
    case DeviceState::Asleep: return "asleep";
    case DeviceState::Lost: return "lost";
    case DeviceState::ShutDown: return "shut down";
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
  const DeviceState state = State();
  return state != DeviceState::NoneFound && state != DeviceState::ShutDown;
}

bool SoundControl::WaitForOpen(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  const DeviceState state = State();
  if (state == DeviceState::Open || state == DeviceState::Asleep) return true;
  // An open that found nothing has answered already.
  if (state == DeviceState::NoneFound || state == DeviceState::ShutDown) return false;
  const std::uint64_t before = attempts_;
  openWanted_ = true;
  wake_.notify_one();
  attemptEnded_.wait_for(lock, limit, [&] { return attempts_ > before || stop_; });
  const DeviceState now = State();
  return now == DeviceState::Open || now == DeviceState::Asleep;
}

template <typename Next>
void SoundControl::Enter(Next&& next) {
  // The other threads see the state by its place in the variant.
  static_assert(std::is_same_v<std::variant_alternative_t<std::size_t(DeviceState::NotAskedYet), States>, NotAskedYet> &&
                std::is_same_v<std::variant_alternative_t<std::size_t(DeviceState::Opening), States>, Opening> &&
                std::is_same_v<std::variant_alternative_t<std::size_t(DeviceState::NoneFound), States>, NoneFound> &&
                std::is_same_v<std::variant_alternative_t<std::size_t(DeviceState::Open), States>, Open> &&
                std::is_same_v<std::variant_alternative_t<std::size_t(DeviceState::Asleep), States>, Asleep> &&
                std::is_same_v<std::variant_alternative_t<std::size_t(DeviceState::Lost), States>, Lost> &&
                std::is_same_v<std::variant_alternative_t<std::size_t(DeviceState::ShutDown), States>, ShutDown> &&
                std::variant_size_v<States> == std::size_t(DeviceState::ShutDown) + 1);
  states_ = std::forward<Next>(next);
  state_.store(DeviceState(states_.index()), std::memory_order_release);
}

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
  if (auto* open = std::get_if<Open>(&states_)) Close(open->opened);
  else if (auto* asleep = std::get_if<Asleep>(&states_)) Close(asleep->opened);
  else renderer_.Forget();
  Enter(ShutDown{});
  FinishAttempt();
}

SoundControl::Clock::time_point SoundControl::Step(bool wanted, bool openWanted) {
  const Clock::time_point now = Clock::now();
  return std::visit([&](auto& state) { return On(state, wanted, openWanted, now); }, states_);
}

SoundControl::Clock::time_point SoundControl::On(NotAskedYet&, bool, bool openWanted, Clock::time_point) {
  if (!openWanted) return Clock::time_point::max();
  return OpenAsked();
}

// Only inside TryOpen, which returns to its caller in another state.
SoundControl::Clock::time_point SoundControl::On(Opening&, bool, bool, Clock::time_point) {
  return Clock::now() + timing_.lookOpen;
}

SoundControl::Clock::time_point SoundControl::On(NoneFound& pause, bool, bool openWanted, Clock::time_point now) {
  pause.retryPending = pause.retryPending || openWanted;
  if (!pause.retryPending) return Clock::time_point::max();
  // Sound asked for during the pause after a failed open waits for its end.
  if (now < pause.retryAt) return pause.retryAt;
  return OpenAsked();
}

SoundControl::Clock::time_point SoundControl::OpenAsked() {
  if (!TryOpen(false)) {
    qCInfo(lcSound, "no sound device: tones keep their time but are not heard");
    Enter(NoneFound{Clock::now() + timing_.noDeviceRetry});
  }
  FinishAttempt();
  return Clock::now() + timing_.lookOpen;
}

SoundControl::Clock::time_point SoundControl::On(Open& open, bool wanted, bool, Clock::time_point now) {
  const bool reported = open.opened.device->ReportedLost();
  const Nanos nanos = SteadyNanos();
  if (reported || Stalled(open.opened, nanos)) {
    qCInfo(lcSound, "device lost (%s); opening one afresh",
           reported ? "the backend reported it gone" : "it stopped asking for sound");
    return Lose(open.opened, now);
  }
  const Nanos lastActivity =
      std::max({renderer_.LastSounding(), lastWanted_.load(std::memory_order_relaxed), open.awakeSince});
  if (!wanted && !busy_() && nanos - lastActivity >= ToNanos(timing_.idleAfter)) {
    open.opened.device->SetActive(false);
    Enter(Asleep{std::move(open.opened)});
    qCInfo(lcSound, "silent for %lld ms: the device sleeps", static_cast<long long>(timing_.idleAfter.count()));
    // A tone asked for while it went to sleep wakes it in the next round.
    if (busy_()) return now;
    return now + timing_.lookIdle;
  }
  return now + timing_.lookOpen;
}

SoundControl::Clock::time_point SoundControl::On(Asleep& asleep, bool wanted, bool, Clock::time_point now) {
  if (asleep.opened.device->ReportedLost()) {
    qCInfo(lcSound, "device lost while asleep (the backend reported it gone); opening one afresh");
    return Lose(asleep.opened, now);
  }
  if (wanted || busy_()) {
    const Nanos awake = SteadyNanos();
    // A device that was asleep did not ask for frames: that was no stall.
    asleep.opened.port->Restart(awake);
    asleep.opened.device->SetActive(true);
    Enter(Open{std::move(asleep.opened), awake});
    qCInfo(lcSound, "sound asked for: the device wakes");
    return now + timing_.lookOpen;
  }
  return now + timing_.lookIdle;
}

SoundControl::Clock::time_point SoundControl::On(Lost& lost, bool wanted, bool, Clock::time_point now) {
  // A tone asked for tries at once: the first note after a server's restart is on time.
  if (now < lost.retryAt && !wanted) return lost.retryAt;
  const Lost before = lost;  // TryOpen leaves this state
  if (TryOpen(before.onServer)) {
    FinishAttempt();
    return Clock::now() + timing_.lookOpen;
  }
  const Clock::time_point retryAt = Clock::now() + before.backoff;
  Enter(Lost{before.onServer, std::min(before.backoff * 2, timing_.longestRetry), retryAt});
  FinishAttempt();
  return retryAt;
}

SoundControl::Clock::time_point SoundControl::On(ShutDown&, bool, bool, Clock::time_point) {
  return Clock::time_point::max();
}

SoundControl::Clock::time_point SoundControl::Lose(OpenedDevice& opened, Clock::time_point now) {
  const bool onServer = opened.device->OnServer();
  Close(opened);
  Enter(Lost{onServer, timing_.firstRetry, now});
  return now;
}

bool SoundControl::TryOpen(bool serversOnly) {
  Enter(Opening{});
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
    opened_.store(backend.name, std::memory_order_release);
    Enter(Open{{std::move(port), std::move(device)}, SteadyNanos()});
    return true;
  }
  return false;
}

void SoundControl::Close(OpenedDevice& opened) {
  opened.device.reset();  // its thread has ended when this returns
  opened.port.reset();
  renderer_.Forget();
}

bool SoundControl::Stalled(const OpenedDevice& opened, Nanos now) const {
  // A sink that wakes from a long sleep, or a null sink that first renders in large blocks, may
  // take seconds between the new stream's first buffers and the rest.
  const auto limit = opened.port->Callbacks() < timing_.settleBuffers ? kSettlingStallFactor * timing_.stallLimit
                                                                       : timing_.stallLimit;
  return now - opened.port->LastCallback() > ToNanos(limit);
}

}  // namespace quaverline
