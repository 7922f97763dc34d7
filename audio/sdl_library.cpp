#include "audio/sdl_library.h"

#include "audio/shared_library.h"
#include "audio/sound_log.h"

namespace quaverline {

namespace {

const SdlAudioCalls* Load() {
  // Never closed: SDL's threads and drivers may live until the process ends.
  void* library = OpenSharedLibrary(kSdl2LibraryName);
  if (library == nullptr) {
    qCInfo(lcSound, "cannot load SDL2, no sound: %s", LoadError().c_str());
    return nullptr;
  }
  static SdlAudioCalls calls;
#define QUAVERLINE_SDL_RESOLVE(name) &&ResolveCall(library, kSdl2LibraryName, "SDL_" #name, calls.name)
  const bool complete = true QUAVERLINE_SDL_AUDIO_CALLS(QUAVERLINE_SDL_RESOLVE);
#undef QUAVERLINE_SDL_RESOLVE
  if (complete) return &calls;
  qCInfo(lcSound, "cannot use %s, no sound", kSdl2LibraryName);
  CloseSharedLibrary(library);
  return nullptr;
}

}  // namespace

const SdlAudioCalls* LoadSdlAudio() {
  static const SdlAudioCalls* const calls = Load();
  return calls;
}

}  // namespace quaverline
