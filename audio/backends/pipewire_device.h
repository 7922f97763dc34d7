// One output stream on a PipeWire server, for desktops whose sound runs on PipeWire. Each cycle
// of PipeWire's graph it renders exactly the frames the graph asks for, in small cycles, which is
// what keeps both tones exact and the delay from click to sound short. Before it makes a stream
// it reads the server's registry: a PipeWire without an audio sink or a session manager (one that
// runs beside PulseAudio for screen sharing only) does not handle sound, and is declined at once.
#pragma once

#include "audio/backends/pipewire_library.h"
#include "audio/backends/thread_priority.h"
#include "audio/output_device.h"

#include <atomic>
#include <memory>
#include <sys/types.h>

namespace quaverline {

class PipeWireDevice final : public OutputDevice {
 public:
  enum class Outcome { Opened, Declined, ShortCycles, Failed };
  // Connects a stream to the server's default output and waits until it flows. Null when there is
  // no server (Failed), the server does not handle sound (Declined), or its graph runs shorter
  // cycles than a stream thread without a raised priority can keep up with (ShortCycles); the
  // reason goes to the sound log.
  static std::unique_ptr<PipeWireDevice> Open(const PipeWireCalls& pw, RenderFunction render, void* userdata,
                                              Outcome& outcome);
  ~PipeWireDevice() override;
  PipeWireDevice(const PipeWireDevice&) = delete;
  PipeWireDevice& operator=(const PipeWireDevice&) = delete;

  bool ReportedLost() const override { return lost_.load(std::memory_order_relaxed); }
  void SetActive(bool active) override;
  bool OnServer() const override { return true; }

 private:
  struct Registry;
  PipeWireDevice(const PipeWireCalls& pw, RenderFunction render, void* userdata)
      : pw_(pw), render_(render), userdata_(userdata) {}
  bool ConnectCore();
  bool HandlesSound();
  bool ConnectStream();
  bool WaitUntilStreaming();
  // Asks for the cycle that the data thread's priority needs; false when the graph keeps running
  // shorter ones.
  bool ChooseCycle();
  // The cycle the graph runs at once it has had time to take the one asked for, in frames; 0 when
  // the stream did not say.
  int GraphCycle() const;
  static void StateChanged(void* self, pw_stream_state old, pw_stream_state state, const char* error);
  static void Process(void* self);

  const PipeWireCalls& pw_;
  RenderFunction render_;
  void* userdata_;
  pw_thread_loop* loop_ = nullptr;
  pw_context* context_ = nullptr;
  pw_core* core_ = nullptr;
  pw_stream* stream_ = nullptr;
  spa_hook streamListener_{};
  std::atomic<pid_t> dataThread_{0};
  // Until the stream is handed out it plays silence: a tone rendered into a stream that is then
  // given up would be cut.
  std::atomic<bool> handedOut_{false};
  std::atomic<int> requested_{0};  // frames the graph asked for in the last cycle
  std::atomic<int> cycles_{0};
  double linkedAfterMs_ = 0;
  std::atomic<bool> streaming_{false};
  std::atomic<bool> lost_{false};
};

}  // namespace quaverline
