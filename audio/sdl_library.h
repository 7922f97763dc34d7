// SDL2's audio calls, resolved from the shared library the first time sound is needed. A start
// of the program that plays nothing then never maps SDL2 and the thirty-odd libraries it links
// (sound servers, codecs, window systems), which would otherwise cost every start time and memory.
#pragma once

#include <SDL2/SDL.h>

namespace quaverline {

struct SdlAudioCalls {
  decltype(&SDL_LogSetOutputFunction) LogSetOutputFunction;
  decltype(&SDL_SetHint) SetHint;
  decltype(&SDL_InitSubSystem) InitSubSystem;
  decltype(&SDL_QuitSubSystem) QuitSubSystem;
  decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
  decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
  decltype(&SDL_GetAudioDeviceStatus) GetAudioDeviceStatus;
  decltype(&SDL_LockAudioDevice) LockAudioDevice;
  decltype(&SDL_UnlockAudioDevice) UnlockAudioDevice;
  decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
};

// Loads SDL2 on the first call, from any thread, and keeps it loaded. Null when the library is
// missing or lacks one of the calls; the program then runs without sound.
const SdlAudioCalls* LoadSdlAudio();

}  // namespace quaverline
