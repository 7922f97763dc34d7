// One playback stream on a PulseAudio server (or PipeWire's PulseAudio service). Whenever the
// server asks for more it renders exactly that much, so the stream stays filled to its small
// target length: a steady delay from click to sound, with room to spare before it runs dry.
#pragma once

#include "audio/output_device.h"
#include "audio/pulse_library.h"

#include <atomic>
#include <memory>

namespace quaverline {

class PulseDevice final : public OutputDevice {
 public:
  // Connects a stream to the server's default output and waits until it is set up. Null when no
  // server answers; the reason goes to the sound log.
  static std::unique_ptr<PulseDevice> Open(const PulseCalls& pa, RenderFunction render, void* userdata);
  ~PulseDevice() override;
  PulseDevice(const PulseDevice&) = delete;
  PulseDevice& operator=(const PulseDevice&) = delete;

  bool ReportedLost() const override { return lost_.load(std::memory_order_relaxed); }
  // The stream's callbacks run on the main loop's thread with its lock held.
  void Lock() const override { pa_.threaded_mainloop_lock(loop_); }
  void Unlock() const override { pa_.threaded_mainloop_unlock(loop_); }

 private:
  PulseDevice(const PulseCalls& pa, RenderFunction render, void* userdata)
      : pa_(pa), render_(render), userdata_(userdata) {}
  bool Connect();
  bool ConnectStream();
  static void ContextState(pa_context* context, void* self);
  static void StreamState(pa_stream* stream, void* self);
  static void Write(pa_stream* stream, std::size_t bytes, void* self);

  const PulseCalls& pa_;
  RenderFunction render_;
  void* userdata_;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  std::atomic<bool> connected_{false};
  std::atomic<bool> ready_{false};
  std::atomic<bool> lost_{false};
};

}  // namespace quaverline
