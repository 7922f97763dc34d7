#include "audio/sdl_device.h"

#include "audio/sound_log.h"
#include "audio/wave_image.h"

namespace quaverline {

namespace {

constexpr Uint16 kBufferFrames = 441;  // 10 ms: a start or stop is heard from the next buffer

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

std::unique_ptr<SdlDevice> SdlDevice::Open(const SdlAudioCalls& sdl, SDL_AudioCallback callback, void* userdata) {
  sdl.LogSetOutputFunction(&LogSdlMessage, nullptr);
  // The program's own signal handling stays in place.
  sdl.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // SDL's own order of backends: PulseAudio first, which on a PipeWire desktop is pipewire-pulse.
  // SDL 2.26's native PipeWire backend is not preferred although it answers sooner: it hands over
  // one whole buffer per cycle of PipeWire's graph whatever the graph asks for, and tones came out
  // with gaps and lost frames (with 441- and with 256-frame buffers).
  if (sdl.InitSubSystem(SDL_INIT_AUDIO) != 0) {
    qCInfo(lcSound, "no audio driver could start: %s", sdl.GetError());
    return nullptr;
  }
  SDL_AudioSpec wanted{};
  wanted.freq = kSampleRate;
  wanted.format = AUDIO_S16LSB;
  wanted.channels = kChannels;
  wanted.samples = kBufferFrames;
  wanted.callback = callback;
  wanted.userdata = userdata;
  SDL_AudioSpec obtained{};
  // No changes allowed: SDL converts to whatever the hardware takes.
  const SDL_AudioDeviceID id = sdl.OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  const char* backend = sdl.GetCurrentAudioDriver();
  if (id == 0) {
    qCInfo(lcSound, "%s: no output device could be opened: %s", backend, sdl.GetError());
    sdl.QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
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
  sdl.PauseAudioDevice(id, 0);
  return std::unique_ptr<SdlDevice>(new SdlDevice(sdl, id));
}

SdlDevice::~SdlDevice() {
  sdl_.CloseAudioDevice(id_);
  sdl_.QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlDevice::ReportedLost() const { return sdl_.GetAudioDeviceStatus(id_) == SDL_AUDIO_STOPPED; }

}  // namespace quaverline
