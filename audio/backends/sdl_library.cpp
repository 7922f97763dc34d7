#include "audio/backends/sdl_library.h"

#include "audio/backends/shared_library.h"
#include "audio/sound_log.h"

namespace quaverline {

namespace {

const SdlAudioCalls* Load() {
  // Never closed: SDL's threads and drivers may live until the process ends.
  static SdlAudioCalls calls;
  const bool loaded = OpenWithCalls(kSdl2LibraryName, [](void* library) {
#define QUAVERLINE_SDL_RESOLVE(name) &&ResolveCall(library, kSdl2LibraryName, "SDL_" #name, calls.name)
    return true QUAVERLINE_SDL_AUDIO_CALLS(QUAVERLINE_SDL_RESOLVE);
#undef QUAVERLINE_SDL_RESOLVE
  });
  return loaded ? &calls : nullptr;
}

}  // namespace

const SdlAudioCalls* LoadSdlAudio() {
  static const SdlAudioCalls* const calls = Load();
  return calls;
}

}  // namespace quaverline
