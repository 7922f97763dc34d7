// One open sound output: it calls a render function from its own thread for every block of
// frames it needs, and lets the owner change what that function reads under a short lock.
#pragma once

#include <cstdint>

namespace quaverline {

// Writes `frameCount` interleaved stereo 16-bit frames at 44 100 Hz into `frames`.
using RenderFunction = void (*)(void* userdata, std::int16_t* frames, int frameCount);

class OutputDevice {
 public:
  virtual ~OutputDevice() = default;

  // The backend said the device is gone (unplugged, or its server went away).
  virtual bool ReportedLost() const = 0;

  // While locked, the render function is not running and does not start.
  virtual void Lock() const = 0;
  virtual void Unlock() const = 0;
};

// Holds the device lock for one short change of the state the render function reads.
class DeviceLock {
 public:
  explicit DeviceLock(const OutputDevice& device) : device_(device) { device_.Lock(); }
  ~DeviceLock() { device_.Unlock(); }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

 private:
  const OutputDevice& device_;
};

}  // namespace quaverline
