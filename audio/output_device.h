// One open sound output. It calls a render function from its own thread for every block of frames
// it needs; the owner only ever talks to it from the sound-control thread.
#pragma once

#include <cstdint>

namespace quaverline {

// Writes `frameCount` interleaved stereo 16-bit frames at 44 100 Hz into `frames`. Runs on the
// device's audio thread: it never takes a lock, allocates, logs or waits.
using RenderFunction = void (*)(void* userdata, std::int16_t* frames, int frameCount);

class OutputDevice {
 public:
  virtual ~OutputDevice() = default;

  // The backend said the device is gone (unplugged, or its server went away).
  virtual bool ReportedLost() const = 0;

  // Stops asking for frames (false) so that the server may suspend its output, or starts again.
  // Returns at once; the device follows on its own thread.
  virtual void SetActive(bool active) = 0;

  // True when the device was opened on a sound server (PipeWire or PulseAudio): after losing it
  // the program waits for a server again rather than taking the sound card directly.
  virtual bool OnServer() const = 0;
};

}  // namespace quaverline
