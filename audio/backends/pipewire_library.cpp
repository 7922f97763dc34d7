#include "audio/backends/pipewire_library.h"

#include "audio/backends/shared_library.h"
#include "audio/sound_log.h"

#include <cstdio>
#include <tuple>

namespace quaverline {

namespace {

constexpr const char* kLibraryName = "libpipewire-0.3.so.0";

// From 0.3.49 on a playback stream's buffer says how many frames the cycle wants.
bool SaysWhatEachCycleWants(const char* version) {
  int major = 0, minor = 0, micro = 0;
  std::sscanf(version, "%d.%d.%d", &major, &minor, &micro);
  if (std::tie(major, minor, micro) >= std::make_tuple(0, 3, 49)) return true;
  qCInfo(lcSound, "libpipewire %s is older than 0.3.49", version);
  return false;
}

const PipeWireCalls* Load() {
  // Never closed: its threads and plugins may live until the process ends.
  static PipeWireCalls calls;
  const bool loaded = OpenWithCalls(kLibraryName, [](void* library) {
#define QUAVERLINE_PIPEWIRE_RESOLVE(name) &&ResolveCall(library, kLibraryName, "pw_" #name, calls.name)
    return true QUAVERLINE_PIPEWIRE_CALLS(QUAVERLINE_PIPEWIRE_RESOLVE) &&
           SaysWhatEachCycleWants(calls.get_library_version());
#undef QUAVERLINE_PIPEWIRE_RESOLVE
  });
  if (!loaded) return nullptr;
  calls.init(nullptr, nullptr);
  return &calls;
}

}  // namespace

const PipeWireCalls* LoadPipeWire() {
  static const PipeWireCalls* const calls = Load();
  return calls;
}

}  // namespace quaverline
