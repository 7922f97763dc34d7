// Keeps the ALSA library from printing its own error messages (for example "cannot find card
// '0'" on a machine without a sound card) while SDL probes its drivers.
#pragma once

namespace quaverline {

class QuietAlsa {
 public:
  QuietAlsa();
  ~QuietAlsa();
  QuietAlsa(const QuietAlsa&) = delete;
  QuietAlsa& operator=(const QuietAlsa&) = delete;

 private:
  void* library_ = nullptr;
};

}  // namespace quaverline
