#include "audio/backends/pulse_device.h"

#include "audio/precise_wait.h"
#include "audio/sound_log.h"
#include "audio/wave_image.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace quaverline {

namespace {

// The stream's target length is the whole delay from a click to its sound, the server's own
// buffer included: kHandNeededUs by what the thread got. The server keeps about three quarters of
// it queued and asks for more each time a quarter has played.
// A server answers within milliseconds; one that does not is as good as absent.
constexpr auto kAnswerLimit = std::chrono::milliseconds(2000);

constexpr pa_sample_spec kSpec = {PA_SAMPLE_S16LE, kSampleRate, kChannels};

double Ms(std::uint32_t bytes) { return 1000.0 * bytes / sizeof(WaveFrame) / kSampleRate; }

}  // namespace

std::unique_ptr<PulseDevice> PulseDevice::Open(const PulseCalls& pa, RenderFunction render, void* userdata) {
  std::unique_ptr<PulseDevice> device(new PulseDevice(pa, render, userdata));
  if (!device->Connect()) return nullptr;
  return device;
}

bool PulseDevice::Connect() {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  loop_ = pa_.threaded_mainloop_new();
  if (loop_ == nullptr) return false;
  context_ = pa_.context_new(pa_.threaded_mainloop_get_api(loop_), "Quaverline");
  if (context_ == nullptr) return false;
  pa_.context_set_state_callback(context_, &PulseDevice::ContextState, this);
  // No autospawn: a missing server is not started from the sound thread behind the user's back.
  if (pa_.context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 ||
      pa_.threaded_mainloop_start(loop_) < 0 || !WaitForFlag(connected_, lost_, kAnswerLimit)) {
    qCInfo(lcSound, "pulseaudio: no server answers (%s)", pa_.strerror(pa_.context_errno(context_)));
    return false;
  }
  const ThreadPriority priority = RaiseThread(loopThread_.load());
  const pa_usec_t target = kHandNeededUs[int(priority.kind)];
  qCInfo(lcSound, "pulseaudio: its thread runs at %s; the stream keeps %.0f ms in hand", Describe(priority).c_str(),
         target / 1000.0);
  if (!ConnectStream(target)) return false;
  pa_.threaded_mainloop_lock(loop_);
  const pa_buffer_attr* attr = pa_.stream_get_buffer_attr(stream_);
  qCInfo(lcSound, "PulseAudio stream (libpulse %s): to the default output at %d Hz, S16LE, %d channels, "
         "%.1f ms queued, topped up every %.1f ms, %.1f ms after connecting", pa_.get_library_version(),
         kSampleRate, kChannels, attr ? Ms(attr->tlength) : 0.0, attr ? Ms(attr->minreq) : 0.0,
         std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  pa_.threaded_mainloop_unlock(loop_);
  return true;
}

bool PulseDevice::ConnectStream(pa_usec_t target) {
  wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  pa_.threaded_mainloop_lock(loop_);
  if (wakeFd_ >= 0) {
    pa_mainloop_api* api = pa_.threaded_mainloop_get_api(loop_);
    wakeEvent_ = api->io_new(api, wakeFd_, PA_IO_EVENT_INPUT, &PulseDevice::Wake, this);
  }
  stream_ = pa_.stream_new(context_, "Quaverline", &kSpec, nullptr);
  int result = -1;
  if (stream_ != nullptr && wakeEvent_ != nullptr) {
    pa_.stream_set_state_callback(stream_, &PulseDevice::StreamState, this);
    pa_.stream_set_write_callback(stream_, &PulseDevice::Write, this);
    pa_buffer_attr attr{};
    attr.maxlength = attr.prebuf = attr.minreq = attr.fragsize = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(pa_.usec_to_bytes(target, &kSpec));
    result = pa_.stream_connect_playback(stream_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr);
  }
  pa_.threaded_mainloop_unlock(loop_);
  if (result < 0 || !WaitForFlag(ready_, lost_, kAnswerLimit)) {
    qCInfo(lcSound, "pulseaudio: no stream could be opened (%s)", pa_.strerror(pa_.context_errno(context_)));
    return false;
  }
  return true;
}

PulseDevice::~PulseDevice() {
  // The disconnects below end the context as a failure would; they are not a loss.
  closing_.store(true, std::memory_order_relaxed);
  if (loop_ != nullptr) {
    pa_.threaded_mainloop_lock(loop_);
    if (wakeEvent_ != nullptr) {
      pa_mainloop_api* api = pa_.threaded_mainloop_get_api(loop_);
      api->io_free(wakeEvent_);
    }
    if (stream_ != nullptr) {
      pa_.stream_disconnect(stream_);
      pa_.stream_unref(stream_);
    }
    if (context_ != nullptr) {
      pa_.context_disconnect(context_);
      pa_.context_unref(context_);
    }
    pa_.threaded_mainloop_unlock(loop_);
    pa_.threaded_mainloop_stop(loop_);
    pa_.threaded_mainloop_free(loop_);
  }
  if (wakeFd_ >= 0) close(wakeFd_);
}

void PulseDevice::SetActive(bool active) {
  wantActive_.store(active, std::memory_order_relaxed);
  const std::uint64_t one = 1;
  if (wakeFd_ >= 0) [[maybe_unused]] const auto written = write(wakeFd_, &one, sizeof one);
}

void PulseDevice::Wake(pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self) {
  auto* device = static_cast<PulseDevice*>(self);
  std::uint64_t count = 0;
  [[maybe_unused]] const auto read_ = read(fd, &count, sizeof count);
  const bool corked = !device->wantActive_.load(std::memory_order_relaxed);
  if (corked == device->corked_ || device->stream_ == nullptr) return;
  device->corked_ = corked;
  // The silence still queued from before the sleep plays first on waking, while the sink's own
  // start drops a few frames, as a new stream's first buffers do.
  device->pa_.stream_cork(device->stream_, corked ? 1 : 0, nullptr, nullptr);
}

void PulseDevice::ContextState(pa_context* context, void* self) {
  auto* device = static_cast<PulseDevice*>(self);
  device->loopThread_.store(CurrentThreadId(), std::memory_order_relaxed);
  const pa_context_state_t state = device->pa_.context_get_state(context);
  if (state == PA_CONTEXT_READY) device->connected_.store(true, std::memory_order_relaxed);
  if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) {
    if (device->connected_.load(std::memory_order_relaxed) && !device->closing_.load(std::memory_order_relaxed)) {
      qCInfo(lcSound, "pulseaudio: connection lost (%s)", device->pa_.strerror(device->pa_.context_errno(context)));
    }
    device->lost_.store(true, std::memory_order_relaxed);
  }
}

void PulseDevice::StreamState(pa_stream* stream, void* self) {
  auto* device = static_cast<PulseDevice*>(self);
  const pa_stream_state_t state = device->pa_.stream_get_state(stream);
  if (state == PA_STREAM_READY) device->ready_.store(true, std::memory_order_relaxed);
  if (state == PA_STREAM_FAILED) device->lost_.store(true, std::memory_order_relaxed);
}

void PulseDevice::Write(pa_stream* stream, std::size_t bytes, void* self) {
  auto* device = static_cast<PulseDevice*>(self);
  while (bytes >= sizeof(WaveFrame)) {
    void* data = nullptr;
    std::size_t size = bytes;
    if (device->pa_.stream_begin_write(stream, &data, &size) < 0 || data == nullptr) return;
    const int frames = static_cast<int>(std::min(size, bytes) / sizeof(WaveFrame));
    if (frames == 0) return;
    device->render_(device->userdata_, static_cast<std::int16_t*>(data), frames);
    device->pa_.stream_write(stream, data, frames * sizeof(WaveFrame), nullptr, 0, PA_SEEK_RELATIVE);
    bytes -= frames * sizeof(WaveFrame);
  }
}

}  // namespace quaverline
