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
#define QUAVERLINE_SDL_RESOLVE(Name) &&Resolve(library, "SDL_" #Name, calls.Name)
  const bool complete = true QUAVERLINE_SDL_AUDIO_CALLS(QUAVERLINE_SDL_RESOLVE);
#undef QUAVERLINE_SDL_RESOLVE
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
