#include "audio/sdl_sound.h"

#include "audio/precise_wait.h"

#include <chrono>
#include <cmath>

namespace quaverline {

namespace {

constexpr Uint16 kBufferFrames = 441;  // 10 ms: a start or stop is heard from the next buffer
constexpr std::int32_t kLowestBeep = 37;
constexpr std::int32_t kHighestBeep = 32767;
constexpr std::uint32_t kLoopFlags = SND_ASYNC | SND_MEMORY | SND_LOOP;

// Holds the device lock for one short change of the state the callback reads.
class DeviceLock {
 public:
  DeviceLock(const SdlAudioCalls& sdl, SDL_AudioDeviceID device) : sdl_(sdl), device_(device) {
    sdl_.LockAudioDevice(device_);
  }
  ~DeviceLock() { sdl_.UnlockAudioDevice(device_); }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

 private:
  const SdlAudioCalls& sdl_;
  SDL_AudioDeviceID device_;
};

// The program writes no log: SDL's own messages (drivers it could not open, the disk driver's
// notices) are dropped.
void DropLogMessage(void*, int, SDL_LogPriority, const char*) {}

}  // namespace

void SdlSound::Open() {
  quietAlsa_.emplace();
  sdl_ = LoadSdlAudio();
  if (sdl_ == nullptr) return;
  sdl_->LogSetOutputFunction(&DropLogMessage, nullptr);
  // The program's own signal handling stays in place.
  sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0) return;
  subsystemUp_ = true;

  SDL_AudioSpec wanted{};
  wanted.freq = kSampleRate;
  wanted.format = AUDIO_S16LSB;
  wanted.channels = kChannels;
  wanted.samples = kBufferFrames;
  wanted.callback = &SdlSound::Callback;
  wanted.userdata = this;
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL converts to whatever the hardware takes.
  device_ = sdl_->OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device_ != 0) sdl_->PauseAudioDevice(device_, 0);
}

SdlSound::~SdlSound() {
  if (device_ != 0) sdl_->CloseAudioDevice(device_);
  if (subsystemUp_) sdl_->QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSound::HasDevice() {
  std::call_once(openOnce_, [this] {
    Open();
    opened_.store(true, std::memory_order_release);
  });
  return device_ != 0 && sdl_->GetAudioDeviceStatus(device_) != SDL_AUDIO_STOPPED;
}

bool SdlSound::Sounding() const {
  if (!Opened() || device_ == 0) return false;
  DeviceLock lock(*sdl_, device_);
  return quaverline::Sounding(mixer_);
}

bool SdlSound::PlaySound(const void* sound, std::uint32_t flags) {
  if (sound == nullptr) {
    if (!Opened() || device_ == 0) return false;
    // The loop lasts as long as the time between its start and this stop, to the frame.
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - loopStart_;
    const auto frames = static_cast<std::int64_t>(std::llround(elapsed.count() * kSampleRate));
    DeviceLock lock(*sdl_, device_);
    StopLoopAfter(mixer_, frames);
    return true;
  }
  if ((flags & kLoopFlags) != kLoopFlags) return false;
  const auto image = ReadLoopImage(sound);
  // The first sound opens the device; its time is not part of the tone.
  if (!image || !HasDevice()) return false;
  loopStart_ = std::chrono::steady_clock::now();
  DeviceLock lock(*sdl_, device_);
  StartLoop(mixer_, *image);
  return true;
}

void SdlSound::Beep(std::int32_t frequency, std::int32_t durationMs) {
  if (frequency < kLowestBeep || frequency > kHighestBeep || durationMs <= 0) return;
  const bool device = HasDevice();  // before the deadline: opening is not part of the tone
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(durationMs);
  if (device) {
    DeviceLock lock(*sdl_, device_);
    StartBeep(mixer_, frequency, BeepFrames(durationMs));
  }
  wait_(deadline);
}

void SdlSound::Sleep(std::int32_t milliseconds) {
  if (milliseconds > 0) wait_(std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds));
}

void SdlSound::Callback(void* userdata, Uint8* stream, int length) {
  // SDL holds the device lock while it calls this.
  auto* self = static_cast<SdlSound*>(userdata);
  constexpr int kFrameBytes = kChannels * int(sizeof(std::int16_t));
  RenderFrames(self->mixer_, reinterpret_cast<std::int16_t*>(stream), length / kFrameBytes);
}

}  // namespace quaverline
