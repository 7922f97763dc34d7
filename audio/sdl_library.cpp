#include "audio/sdl_library.h"

#include <dlfcn.h>

namespace quaverline {

namespace {

// SDL2's stable name on Linux, the one its runtime package installs.
constexpr const char* kLibraryName = "libSDL2-2.0.so.0";

template <typename Call>
bool Resolve(void* library, const char* name, Call& call) {
  call = reinterpret_cast<Call>(dlsym(library, name));
  return call != nullptr;
}

const SdlAudioCalls* Load() {
  // Never closed: SDL's threads and drivers may live until the process ends.
  void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return nullptr;
  static SdlAudioCalls calls;
  const bool complete = Resolve(library, "SDL_LogSetOutputFunction", calls.LogSetOutputFunction) &&
                        Resolve(library, "SDL_SetHint", calls.SetHint) &&
                        Resolve(library, "SDL_InitSubSystem", calls.InitSubSystem) &&
                        Resolve(library, "SDL_QuitSubSystem", calls.QuitSubSystem) &&
                        Resolve(library, "SDL_OpenAudioDevice", calls.OpenAudioDevice) &&
                        Resolve(library, "SDL_PauseAudioDevice", calls.PauseAudioDevice) &&
                        Resolve(library, "SDL_GetAudioDeviceStatus", calls.GetAudioDeviceStatus) &&
                        Resolve(library, "SDL_LockAudioDevice", calls.LockAudioDevice) &&
                        Resolve(library, "SDL_UnlockAudioDevice", calls.UnlockAudioDevice) &&
                        Resolve(library, "SDL_CloseAudioDevice", calls.CloseAudioDevice);
  if (complete) return &calls;
  dlclose(library);
  return nullptr;
}

}  // namespace

const SdlAudioCalls* LoadSdlAudio() {
  static const SdlAudioCalls* const calls = Load();
  return calls;
}

}  // namespace quaverline
