#include "audio/pipewire_device.h"

#include "audio/precise_wait.h"
#include "audio/sound_log.h"
#include "audio/wave_image.h"

#include <spa/param/audio/format-utils.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>

namespace quaverline {

namespace {

// The graph's cycle this stream asks for: 256 frames, 5.8 ms. The graph runs at the smallest
// cycle its streams ask for, and a start or stop is heard from the next cycle on.
constexpr int kCycleFrames = 256;
constexpr int kFrameBytes = int(sizeof(WaveFrame));  // what the render function writes per frame
// A session manager links a new stream within tens of milliseconds; a PipeWire that handles no
// sound never does.
constexpr auto kLinkLimit = std::chrono::milliseconds(1000);

}  // namespace

std::unique_ptr<PipeWireDevice> PipeWireDevice::Open(const PipeWireCalls& pw, RenderFunction render,
                                                     void* userdata) {
  std::unique_ptr<PipeWireDevice> device(new PipeWireDevice(pw, render, userdata));
  if (!device->Connect()) return nullptr;
  return device;
}

bool PipeWireDevice::Connect() {
  static const pw_stream_events events = [] {
    pw_stream_events e{};
    e.version = PW_VERSION_STREAM_EVENTS;
    e.state_changed = &PipeWireDevice::StateChanged;
    e.process = &PipeWireDevice::Process;
    return e;
  }();
  loop_ = pw_.thread_loop_new("quaverline-sound", nullptr);
  if (loop_ == nullptr) {
    qCInfo(lcSound, "pipewire: cannot start a thread loop: %s", std::strerror(errno));
    return false;
  }
  const std::string latency = std::to_string(kCycleFrames) + "/" + std::to_string(kSampleRate);
  pw_properties* properties = pw_.properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Playback",
                                                 PW_KEY_NODE_LATENCY, latency.c_str(), nullptr);
  stream_ = pw_.stream_new_simple(pw_.thread_loop_get_loop(loop_), "Quaverline", properties, &events, this);
  if (stream_ == nullptr) {
    qCInfo(lcSound, "pipewire: cannot make a stream: %s", std::strerror(errno));
    return false;
  }
  std::uint8_t podBuffer[1024];
  spa_pod_builder builder{};
  spa_pod_builder_init(&builder, podBuffer, sizeof podBuffer);
  spa_audio_info_raw format{};
  format.format = SPA_AUDIO_FORMAT_S16_LE;
  format.rate = kSampleRate;
  format.channels = kChannels;
  format.position[0] = SPA_AUDIO_CHANNEL_FL;
  format.position[1] = SPA_AUDIO_CHANNEL_FR;
  const spa_pod* params[] = {spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &format)};
  if (pw_.thread_loop_start(loop_) != 0) {
    qCInfo(lcSound, "pipewire: cannot start its thread");
    return false;
  }
  pw_.thread_loop_lock(loop_);
  // The frames are rendered on PipeWire's real-time thread, in the cycle that asks for them.
  const auto flags = static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS |
                                                  PW_STREAM_FLAG_RT_PROCESS);
  const int result = pw_.stream_connect(stream_, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, params, 1);
  pw_.thread_loop_unlock(loop_);
  if (result < 0) {
    qCInfo(lcSound, "pipewire: no server answers (%s)", std::strerror(-result));
    return false;
  }
  return WaitUntilStreaming();
}

bool PipeWireDevice::WaitUntilStreaming() const {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  if (!WaitForFlag(streaming_, lost_, kLinkLimit)) {
    if (!lost_.load(std::memory_order_relaxed)) {
      qCInfo(lcSound, "pipewire: the stream was linked to no output within %lld ms; PipeWire does not "
             "handle sound here", static_cast<long long>(kLinkLimit.count()));
    }
    return false;
  }
  qCInfo(lcSound, "PipeWire stream (libpipewire %s): to the default output at %d Hz, S16LE, %d channels, in "
         "cycles of %d frames asked for, %.1f ms after connecting", pw_.get_library_version(), kSampleRate,
         kChannels, kCycleFrames, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  return true;
}

PipeWireDevice::~PipeWireDevice() {
  if (loop_ == nullptr) return;
  if (stream_ != nullptr) {
    pw_.thread_loop_lock(loop_);
    pw_.stream_destroy(stream_);
    pw_.thread_loop_unlock(loop_);
  }
  pw_.thread_loop_destroy(loop_);  // stops its thread first
}

void PipeWireDevice::StateChanged(void* self, pw_stream_state, pw_stream_state state, const char* error) {
  auto* device = static_cast<PipeWireDevice*>(self);
  if (state == PW_STREAM_STATE_STREAMING) device->streaming_.store(true, std::memory_order_relaxed);
  if (state == PW_STREAM_STATE_ERROR || state == PW_STREAM_STATE_UNCONNECTED) {
    // Without an error it is the program's own disconnect.
    if (error != nullptr) qCInfo(lcSound, "pipewire: stream %s: %s", device->pw_.stream_state_as_string(state), error);
    device->lost_.store(true, std::memory_order_relaxed);
  }
}

void PipeWireDevice::Process(void* self) {
  auto* device = static_cast<PipeWireDevice*>(self);
  pw_buffer* buffer = device->pw_.stream_dequeue_buffer(device->stream_);
  if (buffer == nullptr) return;
  spa_data& data = buffer->buffer->datas[0];
  if (data.data == nullptr) {
    device->pw_.stream_queue_buffer(device->stream_, buffer);
    return;
  }
  int frames = static_cast<int>(data.maxsize / kFrameBytes);
  // The graph says how much it wants this cycle; where it does not, one cycle's worth.
  frames = std::min<std::int64_t>(frames, buffer->requested != 0 ? buffer->requested : kCycleFrames);
  {
    std::lock_guard lock(device->renderMutex_);
    device->render_(device->userdata_, static_cast<std::int16_t*>(data.data), frames);
  }
  data.chunk->offset = 0;
  data.chunk->stride = kFrameBytes;
  data.chunk->size = static_cast<std::uint32_t>(frames * kFrameBytes);
  device->pw_.stream_queue_buffer(device->stream_, buffer);
}

}  // namespace quaverline
