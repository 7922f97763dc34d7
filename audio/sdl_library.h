// SDL2's audio calls, resolved from the shared library the first time sound is needed. A start
// of the program that plays nothing then never maps SDL2 and the thirty-odd libraries it links
// (sound servers, codecs, window systems), which would otherwise cost every start time and memory.
#pragma once

#include <SDL2/SDL.h>

namespace quaverline {

// Every SDL2 call the sound layer makes, listed once: X(Name) stands for SDL_Name.
#define QUAVERLINE_SDL_AUDIO_CALLS(X)                                                           \
  X(LogSetOutputFunction) X(SetHint) X(InitSubSystem) X(QuitSubSystem) X(OpenAudioDevice)       \
  X(PauseAudioDevice) X(GetAudioDeviceStatus) X(LockAudioDevice) X(UnlockAudioDevice)           \
  X(CloseAudioDevice)

struct SdlAudioCalls {
#define QUAVERLINE_SDL_MEMBER(Name) decltype(&SDL_##Name) Name;
  QUAVERLINE_SDL_AUDIO_CALLS(QUAVERLINE_SDL_MEMBER)
#undef QUAVERLINE_SDL_MEMBER
};

// Loads SDL2 on the first call, from any thread, and keeps it loaded. Null when the library is
// missing or lacks one of the calls; the program then runs without sound.
const SdlAudioCalls* LoadSdlAudio();

}  // namespace quaverline
