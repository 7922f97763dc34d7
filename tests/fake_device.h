// Output devices that tests drive: each renders a fixed number of frames every few milliseconds on
// a thread of its own, as a sound server's stream does, and keeps what it rendered. The opener can
// be slow, can fail, and can make its device report a loss or stop asking for frames.
#pragma once

#include "audio/device_opener.h"
#include "audio/wave_image.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace quaverline {

class FakeDevice final : public OutputDevice {
 public:
  static constexpr int kCycleFrames = 256;

  FakeDevice(RenderFunction render, void* userdata) : render_(render), userdata_(userdata) {
    thread_ = std::thread([this] { Run(); });
  }
  ~FakeDevice() override {
    stop_ = true;
    thread_.join();
  }

  bool ReportedLost() const override { return lost.load(); }
  void SetActive(bool active) override {
    if (active) resumeAt_ = Clock::now() + wakeDelay.load();
    active_ = active;
    (active ? wakes : sleeps) += 1;
  }
  bool OnServer() const override { return true; }

  // Every frame rendered so far, and the buffers' sizes.
  std::vector<WaveFrame> Frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
  }

  std::atomic<bool> lost{false};
  std::atomic<bool> stalled{false};  // stops asking for frames without a word
  std::atomic<int> sleeps{0};
  std::atomic<int> wakes{0};
  // How long it takes to ask for frames again once woken, as a suspended sink's wake-up does.
  std::atomic<std::chrono::milliseconds> wakeDelay{std::chrono::milliseconds(0)};

 private:
  using Clock = std::chrono::steady_clock;

  void Run() {
    const auto cycle = std::chrono::microseconds(1000000LL * kCycleFrames / kSampleRate);
    auto next = Clock::now();
    std::vector<WaveFrame> buffer(kCycleFrames);
    while (!stop_) {
      next += cycle;
      std::this_thread::sleep_until(next);
      if (!active_ || stalled || Clock::now() < resumeAt_.load()) continue;
      render_(userdata_, reinterpret_cast<std::int16_t*>(buffer.data()), kCycleFrames);
      std::lock_guard lock(mutex_);
      frames_.insert(frames_.end(), buffer.begin(), buffer.end());
    }
  }

  RenderFunction render_;
  void* userdata_;
  std::atomic<bool> active_{true};
  std::atomic<Clock::time_point> resumeAt_{};
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<WaveFrame> frames_;
  std::thread thread_;
};

// Opens FakeDevices, after `openDelay`, failing the first `failures` times.
class FakeOpener final : public DeviceOpener {
 public:
  struct Shared {
    std::atomic<int> opens{0};     // tries
    std::atomic<int> failures{0};  // tries still to fail
    std::chrono::milliseconds openDelay{0};
    std::mutex mutex;
    std::vector<FakeDevice*> devices;  // every device opened, the newest last; valid while open
    std::vector<std::chrono::steady_clock::time_point> tryTimes;  // when each try began

    FakeDevice* Newest() {
      std::lock_guard lock(mutex);
      return devices.empty() ? nullptr : devices.back();
    }
    int Opened() {
      std::lock_guard lock(mutex);
      return int(devices.size());
    }
  };

  explicit FakeOpener(Shared& shared) : shared_(shared) {}

  std::vector<Backend> Backends(bool) override {
    return {{"fake", [this](RenderFunction render, void* userdata) -> std::unique_ptr<OutputDevice> {
               {
                 std::lock_guard lock(shared_.mutex);
                 shared_.tryTimes.push_back(std::chrono::steady_clock::now());
               }
               ++shared_.opens;
               std::this_thread::sleep_for(shared_.openDelay);
               if (shared_.failures > 0) {
                 --shared_.failures;
                 return nullptr;
               }
               auto device = std::make_unique<FakeDevice>(render, userdata);
               std::lock_guard lock(shared_.mutex);
               shared_.devices.push_back(device.get());
               return device;
             }}};
  }

 private:
  Shared& shared_;
};

}  // namespace quaverline
