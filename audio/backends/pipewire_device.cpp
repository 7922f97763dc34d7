#include "audio/backends/pipewire_device.h"

#include "audio/precise_wait.h"
#include "audio/sound_log.h"
#include "audio/wave_image.h"

#include <pipewire/extensions/metadata.h>
#include <spa/param/audio/format-utils.h>
#include <spa/utils/dict.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

namespace quaverline {

namespace {

// The graph's cycle this stream asks for, by what its thread got (PriorityKind): 512 frames
// (11.6 ms) on a real-time thread; a thread that waits its turn behind busy programs needs more in
// hand, and one with no raised priority at all its whole hand (kHandNeededUs) in every cycle. Even
// a real-time thread may wake 6 to 10 ms late on a kernel that does not preempt itself or on a
// virtual machine, and at 256 frames each such wake-up cut a cycle out of the note. The graph runs
// at the smallest cycle its streams ask for, and a start or stop is heard from the next cycle on.
constexpr int kCycleFrames[] = {int(std::int64_t(kHandNeededUs[0]) * kSampleRate / 1000000), 1024, 512};
constexpr int kFrameBytes = int(sizeof(WaveFrame));  // what the render function writes per frame
// A session manager links a new stream within tens of milliseconds.
constexpr auto kLinkLimit = std::chrono::milliseconds(1000);
constexpr auto kAnswerLimit = std::chrono::milliseconds(1000);

std::string Latency(int frames) { return std::to_string(frames) + "/" + std::to_string(kSampleRate); }

}  // namespace

// What the registry lists, read once when the device opens.
struct PipeWireDevice::Registry {
  PipeWireDevice* device;
  pw_registry* proxy = nullptr;
  spa_hook registryListener{};
  spa_hook coreListener{};
  int seq = 0;
  std::atomic<bool> done{false};
  std::atomic<bool> failed{false};
  bool audioSink = false;
  bool sessionManager = false;

  static void Global(void* self, uint32_t, uint32_t, const char* type, uint32_t, const spa_dict* props) {
    auto* registry = static_cast<Registry*>(self);
    if (props == nullptr) return;
    if (std::strcmp(type, PW_TYPE_INTERFACE_Node) == 0) {
      const char* mediaClass = spa_dict_lookup(props, PW_KEY_MEDIA_CLASS);
      if (mediaClass != nullptr && std::strcmp(mediaClass, "Audio/Sink") == 0) registry->audioSink = true;
    } else if (std::strcmp(type, PW_TYPE_INTERFACE_Metadata) == 0) {
      // A session manager keeps the default sink in the "default" metadata.
      const char* name = spa_dict_lookup(props, PW_KEY_METADATA_NAME);
      if (name != nullptr && std::strcmp(name, "default") == 0) registry->sessionManager = true;
    }
  }

  static void Done(void* self, uint32_t id, int seq) {
    auto* registry = static_cast<Registry*>(self);
    if (id == PW_ID_CORE && seq == registry->seq) registry->done.store(true, std::memory_order_relaxed);
  }

  static void Error(void* self, uint32_t id, int, int, const char*) {
    if (id == PW_ID_CORE) static_cast<Registry*>(self)->failed.store(true, std::memory_order_relaxed);
  }
};

std::unique_ptr<PipeWireDevice> PipeWireDevice::Open(const PipeWireCalls& pw, RenderFunction render,
                                                     void* userdata, Outcome& outcome) {
  std::unique_ptr<PipeWireDevice> device(new PipeWireDevice(pw, render, userdata));
  outcome = Outcome::Failed;
  if (!device->ConnectCore()) return nullptr;
  if (!device->HandlesSound()) {
    outcome = Outcome::Declined;
    return nullptr;
  }
  if (!device->ConnectStream()) return nullptr;
  if (!device->ChooseCycle()) {
    outcome = Outcome::ShortCycles;
    return nullptr;
  }
  qCInfo(lcSound, "PipeWire stream (libpipewire %s): to the default output at %d Hz, S16LE, %d channels, "
         "%.1f ms after connecting", pw.get_library_version(), kSampleRate, kChannels, device->linkedAfterMs_);
  device->handedOut_.store(true, std::memory_order_release);
  outcome = Outcome::Opened;
  return device;
}

bool PipeWireDevice::ConnectCore() {
  loop_ = pw_.thread_loop_new("quaverline-sound", nullptr);
  if (loop_ == nullptr) {
    qCInfo(lcSound, "pipewire: cannot start a thread loop: %s", std::strerror(errno));
    return false;
  }
  // The real-time client configuration loads the module that makes the stream's data thread
  // real-time (directly, or through RealtimeKit). Newer PipeWire has only one client
  // configuration, which does so itself.
  context_ = pw_.context_new(pw_.thread_loop_get_loop(loop_), pw_.properties_new(PW_KEY_CONFIG_NAME, "client-rt.conf", nullptr), 0);
  if (context_ == nullptr) context_ = pw_.context_new(pw_.thread_loop_get_loop(loop_), nullptr, 0);
  if (context_ == nullptr) {
    qCInfo(lcSound, "pipewire: cannot make a context: %s", std::strerror(errno));
    return false;
  }
  if (pw_.thread_loop_start(loop_) != 0) {
    qCInfo(lcSound, "pipewire: cannot start its thread");
    return false;
  }
  pw_.thread_loop_lock(loop_);
  core_ = pw_.context_connect(context_, nullptr, 0);
  const int error = errno;
  pw_.thread_loop_unlock(loop_);
  if (core_ == nullptr) {
    qCInfo(lcSound, "pipewire: no server answers (%s)", std::strerror(error));
    return false;
  }
  return true;
}

bool PipeWireDevice::HandlesSound() {
  static const pw_registry_events registryEvents = [] {
    pw_registry_events e{};
    e.version = PW_VERSION_REGISTRY_EVENTS;
    e.global = &Registry::Global;
    return e;
  }();
  static const pw_core_events coreEvents = [] {
    pw_core_events e{};
    e.version = PW_VERSION_CORE_EVENTS;
    e.done = &Registry::Done;
    e.error = &Registry::Error;
    return e;
  }();
  Registry registry{this};
  pw_.thread_loop_lock(loop_);
  registry.proxy = pw_core_get_registry(core_, PW_VERSION_REGISTRY, 0);
  if (registry.proxy != nullptr) {
    pw_registry_add_listener(registry.proxy, &registry.registryListener, &registryEvents, &registry);
    pw_core_add_listener(core_, &registry.coreListener, &coreEvents, &registry);
    registry.seq = pw_core_sync(core_, PW_ID_CORE, 0);
  }
  pw_.thread_loop_unlock(loop_);
  const bool answered = registry.proxy != nullptr && WaitForFlag(registry.done, registry.failed, kAnswerLimit);
  pw_.thread_loop_lock(loop_);
  spa_hook_remove(&registry.coreListener);
  if (registry.proxy != nullptr) {
    spa_hook_remove(&registry.registryListener);
    pw_.proxy_destroy(reinterpret_cast<pw_proxy*>(registry.proxy));
  }
  pw_.thread_loop_unlock(loop_);
  if (!answered) {
    qCInfo(lcSound, "pipewire: the server did not list its objects");
    return false;
  }
  if (!registry.audioSink || !registry.sessionManager) {
    qCInfo(lcSound, "pipewire: %s; PipeWire does not handle sound here",
           !registry.audioSink ? "no audio sink" : "no session manager");
    return false;
  }
  return true;
}

bool PipeWireDevice::ConnectStream() {
  static const pw_stream_events events = [] {
    pw_stream_events e{};
    e.version = PW_VERSION_STREAM_EVENTS;
    e.state_changed = &PipeWireDevice::StateChanged;
    e.process = &PipeWireDevice::Process;
    return e;
  }();
  const std::string latency = Latency(kCycleFrames[int(PriorityKind::RealTime)]);
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
  pw_.thread_loop_lock(loop_);
  pw_properties* properties = pw_.properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Playback",
                                                 PW_KEY_NODE_LATENCY, latency.c_str(), nullptr);
  stream_ = pw_.stream_new(core_, "Quaverline", properties);
  int result = -ENOMEM;
  if (stream_ != nullptr) {
    pw_.stream_add_listener(stream_, &streamListener_, &events, this);
    // The frames are rendered on PipeWire's data thread, in the cycle that asks for them.
    const auto flags = static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS |
                                                    PW_STREAM_FLAG_RT_PROCESS);
    result = pw_.stream_connect(stream_, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, params, 1);
  }
  pw_.thread_loop_unlock(loop_);
  if (result < 0) {
    qCInfo(lcSound, "pipewire: no stream could be made (%s)", std::strerror(-result));
    return false;
  }
  return WaitUntilStreaming();
}

bool PipeWireDevice::WaitUntilStreaming() {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  if (!WaitForFlag(streaming_, lost_, kLinkLimit)) {
    if (!lost_.load(std::memory_order_relaxed))
      qCInfo(lcSound, "pipewire: the stream was linked to no output within %lld ms",
             static_cast<long long>(kLinkLimit.count()));
    return false;
  }
  linkedAfterMs_ = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  return true;
}

bool PipeWireDevice::ChooseCycle() {
  // The data thread says who it is in its first cycle.
  for (int i = 0; i < 200 && dataThread_.load(std::memory_order_relaxed) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const pid_t thread = dataThread_.load(std::memory_order_relaxed);
  if (thread == 0) return true;
  const ThreadPriority priority = RaiseThread(thread);
  const int cycle = kCycleFrames[int(priority.kind)];
  qCInfo(lcSound, "pipewire: its data thread runs at %s; cycles of %d frames asked for", Describe(priority).c_str(),
         cycle);
  if (cycle == kCycleFrames[int(PriorityKind::RealTime)]) return true;
  const std::string latency = Latency(cycle);
  const spa_dict_item item = SPA_DICT_ITEM_INIT(PW_KEY_NODE_LATENCY, latency.c_str());
  const spa_dict dict = SPA_DICT_INIT(&item, 1);
  pw_.thread_loop_lock(loop_);
  pw_.stream_update_properties(stream_, &dict);
  pw_.thread_loop_unlock(loop_);
  if (priority.kind != PriorityKind::Normal) return true;
  // The cycle asked for is only a request: the graph runs at the shortest any of its streams asks
  // for (a recorder's, say). A thread that waits its turn behind busy programs misses cycles much
  // shorter than it asked for; through the PulseAudio protocol the server keeps the sound in hand.
  const int graph = GraphCycle();
  if (graph == 0 || graph >= cycle) {
    qCInfo(lcSound, "pipewire: the graph runs cycles of %d frames", graph != 0 ? graph : cycle);
    return true;
  }
  qCInfo(lcSound, "pipewire: the graph runs cycles of %d frames (%.1f ms), less than the %.0f ms this thread needs "
         "in hand; playing through the PulseAudio protocol instead, where the server keeps it", graph,
         1000.0 * graph / kSampleRate, 1000.0 * cycle / kSampleRate);
  return false;
}

int PipeWireDevice::GraphCycle() const {
  // A graph takes a new cycle within a few of its own cycles.
  constexpr auto kSettle = std::chrono::milliseconds(100);
  constexpr auto kLimit = std::chrono::milliseconds(500);
  constexpr int kCycles = 4;
  const auto start = std::chrono::steady_clock::now();
  const int before = cycles_.load(std::memory_order_relaxed);
  for (;;) {
    const auto waited = std::chrono::steady_clock::now() - start;
    if (waited >= kLimit || (waited >= kSettle && cycles_.load(std::memory_order_relaxed) - before >= kCycles)) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return requested_.load(std::memory_order_relaxed);
}

void PipeWireDevice::SetActive(bool active) {
  // The main loop's lock: the data thread that renders never takes it.
  pw_.thread_loop_lock(loop_);
  pw_.stream_set_active(stream_, active);
  pw_.thread_loop_unlock(loop_);
}

PipeWireDevice::~PipeWireDevice() {
  if (loop_ == nullptr) return;
  pw_.thread_loop_lock(loop_);
  if (stream_ != nullptr) pw_.stream_destroy(stream_);
  if (core_ != nullptr) pw_.core_disconnect(core_);
  pw_.thread_loop_unlock(loop_);
  pw_.thread_loop_stop(loop_);
  if (context_ != nullptr) pw_.context_destroy(context_);
  pw_.thread_loop_destroy(loop_);
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
  if (device->dataThread_.load(std::memory_order_relaxed) == 0)
    device->dataThread_.store(CurrentThreadId(), std::memory_order_relaxed);
  pw_buffer* buffer = device->pw_.stream_dequeue_buffer(device->stream_);
  if (buffer == nullptr) return;
  spa_data& data = buffer->buffer->datas[0];
  if (data.data == nullptr) {
    device->pw_.stream_queue_buffer(device->stream_, buffer);
    return;
  }
  int frames = static_cast<int>(data.maxsize / kFrameBytes);
  // The graph says how much it wants this cycle; where it does not, one cycle's worth.
  frames = std::min<std::int64_t>(frames, buffer->requested != 0 ? buffer->requested
                                                                 : kCycleFrames[int(PriorityKind::RealTime)]);
  device->requested_.store(int(buffer->requested), std::memory_order_relaxed);
  device->cycles_.fetch_add(1, std::memory_order_relaxed);
  if (device->handedOut_.load(std::memory_order_acquire))
    device->render_(device->userdata_, static_cast<std::int16_t*>(data.data), frames);
  else
    std::memset(data.data, 0, std::size_t(frames) * kFrameBytes);
  data.chunk->offset = 0;
  data.chunk->stride = kFrameBytes;
  data.chunk->size = static_cast<std::uint32_t>(frames * kFrameBytes);
  device->pw_.stream_queue_buffer(device->stream_, buffer);
}

}  // namespace quaverline
