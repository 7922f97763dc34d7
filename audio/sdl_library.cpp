#include "audio/sdl_library.h"

#include "audio/sound_log.h"

#include <dlfcn.h>

namespace quaverline {

namespace {

// SDL2's stable name on Linux, the one its runtime package installs.
constexpr const char* kLibraryName = "libSDL2-2.0.so.0";

template <typename Call>
bool Resolve(void* library, const char* name, Call& call) {
  call = reinterpret_cast<Call>(dlsym(library, name));
  if (call == nullptr) qCInfo(lcSound, "%s lacks %s: no sound", kLibraryName, name);
  return call != nullptr;
}

const SdlAudioCalls* Load() {
  // Never closed: SDL's threads and drivers may live until the process ends.
  void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    qCInfo(lcSound, "cannot load SDL2, no sound: %s", dlerror());
    return nullptr;
  }
  static SdlAudioCalls calls;
#define QUAVERLINE_SDL_RESOLVE(name) &&Resolve(library, "SDL_" #name, calls.name)
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
