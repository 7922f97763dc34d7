// One playback stream on a PulseAudio server (or PipeWire's PulseAudio service). Whenever the
// server asks for more it renders exactly that much, so the stream stays filled to its small
// target length: a steady delay from click to sound, with room to spare before it runs dry. Its
// thread is raised to real-time where that can be had, and the target grows where it cannot.
#pragma once

#include "audio/backends/pulse_library.h"
#include "audio/backends/thread_priority.h"
#include "audio/output_device.h"

#include <atomic>
#include <memory>
#include <sys/types.h>

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
  void SetActive(bool active) override;
  bool OnServer() const override { return true; }

 private:
  PulseDevice(const PulseCalls& pa, RenderFunction render, void* userdata)
      : pa_(pa), render_(render), userdata_(userdata) {}
  bool Connect();
  bool ConnectStream(pa_usec_t target);
  static void ContextState(pa_context* context, void* self);
  static void StreamState(pa_stream* stream, void* self);
  static void Write(pa_stream* stream, std::size_t bytes, void* self);
  static void Wake(pa_mainloop_api* api, pa_io_event* event, int fd, pa_io_event_flags_t flags, void* self);

  const PulseCalls& pa_;
  RenderFunction render_;
  void* userdata_;
  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  // Corks and uncorks on the stream's own thread: the control thread only writes here.
  int wakeFd_ = -1;
  pa_io_event* wakeEvent_ = nullptr;
  std::atomic<bool> wantActive_{true};
  bool corked_ = false;  // the loop thread's
  std::atomic<pid_t> loopThread_{0};
  std::atomic<bool> connected_{false};
  std::atomic<bool> ready_{false};
  std::atomic<bool> lost_{false};
  std::atomic<bool> closing_{false};
};

}  // namespace quaverline
