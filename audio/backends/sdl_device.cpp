#include "audio/backends/sdl_device.h"

#include "audio/sound_log.h"
#include "audio/wave_image.h"

namespace quaverline {

namespace {

const char* FormatName(SDL_AudioFormat format) {
  switch (format) {
    case AUDIO_S16LSB: return "S16LE";
    case AUDIO_S16MSB: return "S16BE";
    case AUDIO_S32LSB: return "S32LE";
    case AUDIO_F32LSB: return "F32LE";
    case AUDIO_U8: return "U8";
    default: return "other";
  }
}

// SDL's own messages (drivers it could not open, the disk driver's notices) go to the sound log,
// so that nothing is printed unless asked for.
void LogSdlMessage(void*, int, SDL_LogPriority, const char* message) { qCDebug(lcSound, "SDL: %s", message); }

}  // namespace

std::unique_ptr<SdlDevice> SdlDevice::Open(const SdlAudioCalls& sdl, RenderFunction render, void* userdata) {
  sdl.LogSetOutputFunction(&LogSdlMessage, nullptr);
  // The program's own signal handling stays in place.
  sdl.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (sdl.InitSubSystem(SDL_INIT_AUDIO) != 0) {
    qCInfo(lcSound, "no audio driver could start: %s", sdl.GetError());
    return nullptr;
  }
  SDL_AudioSpec wanted{};
  wanted.freq = kSampleRate;
  wanted.format = AUDIO_S16LSB;
  wanted.channels = kChannels;
  wanted.samples = kSdlBufferFrames;
  std::unique_ptr<SdlDevice> device(new SdlDevice(sdl, render, userdata));
  wanted.callback = &SdlDevice::Callback;
  wanted.userdata = device.get();
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL converts to whatever the hardware takes.
  device->id_ = sdl.OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  const char* backend = sdl.GetCurrentAudioDriver();
  if (device->id_ == 0) {
    qCInfo(lcSound, "%s: no output device could be opened: %s", backend, sdl.GetError());
    return nullptr;  // the device's end quits the subsystem
  }
  qCInfo(lcSound, "%s: opened the default output for %d Hz, %s, %d channels, %d-frame buffers", backend,
         obtained.freq, FormatName(obtained.format), obtained.channels, obtained.samples);
  char* name = nullptr;
  SDL_AudioSpec native{};
  if (sdl.GetDefaultAudioInfo(&name, &native, 0) == 0) {
    qCInfo(lcSound, "%s: the default output is \"%s\", taking %d Hz, %s, %d channels", backend, name, native.freq,
           FormatName(native.format), native.channels);
    sdl.free(name);
  }
  // SDL raises its audio thread itself (through RealtimeKit where that runs).
  sdl.PauseAudioDevice(device->id_, 0);
  return device;
}

SdlDevice::~SdlDevice() {
  if (id_ != 0) sdl_.CloseAudioDevice(id_);
  sdl_.QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlDevice::Callback(void* self, Uint8* stream, int length) {
  const auto* device = static_cast<SdlDevice*>(self);
  device->render_(device->userdata_, reinterpret_cast<std::int16_t*>(stream), length / int(sizeof(WaveFrame)));
}

bool SdlDevice::ReportedLost() const { return sdl_.GetAudioDeviceStatus(id_) == SDL_AUDIO_STOPPED; }

}  // namespace quaverline
