// The backends a device can be opened on, in the order they are tried.
#pragma once

#include "audio/output_device.h"

#include <functional>
#include <memory>
#include <vector>

namespace quaverline {

struct Backend {
  const char* name;  // for the sound log
  // Null when this backend has no device to give; the reason goes to the sound log.
  std::function<std::unique_ptr<OutputDevice>(RenderFunction render, void* userdata)> open;
};

class DeviceOpener {
 public:
  virtual ~DeviceOpener() = default;
  // The backends to try now, best first. `serversOnly` after losing a sound server's device: the
  // program then waits for a server again instead of taking the sound card from under it.
  virtual std::vector<Backend> Backends(bool serversOnly) = 0;
};

}  // namespace quaverline
