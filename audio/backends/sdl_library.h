// SDL2's audio calls, resolved from the shared library the first time sound is needed. A start
// of the program that plays nothing then never maps SDL2 and the thirty-odd libraries it links
// (sound servers, codecs, window systems), which would otherwise cost every start time and memory.
#pragma once

#include <SDL2/SDL.h>

namespace quaverline {

// Every call the program uses, each named without its SDL_ prefix.
#define QUAVERLINE_SDL_AUDIO_CALLS(X) \
  X(LogSetOutputFunction)             \
  X(SetHint)                          \
  X(GetError)                         \
  X(free)                             \
  X(InitSubSystem)                    \
  X(QuitSubSystem)                    \
  X(GetCurrentAudioDriver)            \
  X(GetDefaultAudioInfo)              \
  X(OpenAudioDevice)                  \
  X(PauseAudioDevice)                 \
  X(GetAudioDeviceStatus)             \
  X(CloseAudioDevice)

struct SdlAudioCalls {
#define QUAVERLINE_SDL_CALL_POINTER(name) decltype(&SDL_##name) name;
  QUAVERLINE_SDL_AUDIO_CALLS(QUAVERLINE_SDL_CALL_POINTER)
#undef QUAVERLINE_SDL_CALL_POINTER
};

// Loads SDL2 on the first call, from any thread, and keeps it loaded. Null when the library is
// missing or lacks one of the calls (the reason goes to the sound log); the program then runs
// without sound.
const SdlAudioCalls* LoadSdlAudio();

}  // namespace quaverline
