#include "audio/backends/pulse_library.h"

#include "audio/backends/shared_library.h"

namespace quaverline {

namespace {

constexpr const char* kLibraryName = "libpulse.so.0";

const PulseCalls* Load() {
  // Never closed: its threads may live until the process ends.
  static PulseCalls calls;
  const bool loaded = OpenWithCalls(kLibraryName, [](void* library) {
#define QUAVERLINE_PULSE_RESOLVE(name) &&ResolveCall(library, kLibraryName, "pa_" #name, calls.name)
    return true QUAVERLINE_PULSE_CALLS(QUAVERLINE_PULSE_RESOLVE);
#undef QUAVERLINE_PULSE_RESOLVE
  });
  return loaded ? &calls : nullptr;
}

}  // namespace

const PulseCalls* LoadPulse() {
  static const PulseCalls* const calls = Load();
  return calls;
}

}  // namespace quaverline
