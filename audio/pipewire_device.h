// One output stream on a PipeWire server, for desktops whose sound runs on PipeWire. Each cycle
// of PipeWire's graph it renders exactly the frames the graph asks for, in small cycles, which is
// what keeps both tones exact and the delay from click to sound short.
#pragma once

#include "audio/output_device.h"
#include "audio/pipewire_library.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace quaverline {

class PipeWireDevice final : public OutputDevice {
 public:
  // Connects a stream to the server's default output and waits until it flows. Null when there is
  // no server, or when the server has linked the stream to no output within a second (PipeWire
  // that runs for screen sharing only, beside PulseAudio); the reason goes to the sound log.
  static std::unique_ptr<PipeWireDevice> Open(const PipeWireCalls& pw, RenderFunction render, void* userdata);
  ~PipeWireDevice() override;
  PipeWireDevice(const PipeWireDevice&) = delete;
  PipeWireDevice& operator=(const PipeWireDevice&) = delete;

  bool ReportedLost() const override { return lost_.load(std::memory_order_relaxed); }
  void Lock() const override { renderMutex_.lock(); }
  void Unlock() const override { renderMutex_.unlock(); }

 private:
  PipeWireDevice(const PipeWireCalls& pw, RenderFunction render, void* userdata)
      : pw_(pw), render_(render), userdata_(userdata) {}
  bool Connect();
  bool WaitUntilStreaming() const;
  static void StateChanged(void* self, pw_stream_state old, pw_stream_state state, const char* error);
  static void Process(void* self);

  const PipeWireCalls& pw_;
  RenderFunction render_;
  void* userdata_;
  pw_thread_loop* loop_ = nullptr;
  pw_stream* stream_ = nullptr;
  mutable std::mutex renderMutex_;  // held while render_ runs, and by Lock
  std::atomic<bool> streaming_{false};
  std::atomic<bool> lost_{false};
};

}  // namespace quaverline
