// libpulse's calls, resolved from the shared library the first time sound is needed, as SDL2's
// are: the program runs (through SDL) where libpulse is not installed.
#pragma once

#include <pulse/pulseaudio.h>

namespace quaverline {

// Every call the program uses, each named without its pa_ prefix.
#define QUAVERLINE_PULSE_CALLS(X)  \
  X(get_library_version)           \
  X(strerror)                      \
  X(usec_to_bytes)                 \
  X(threaded_mainloop_new)         \
  X(threaded_mainloop_get_api)     \
  X(threaded_mainloop_start)       \
  X(threaded_mainloop_stop)        \
  X(threaded_mainloop_lock)        \
  X(threaded_mainloop_unlock)      \
  X(threaded_mainloop_free)        \
  X(context_new)                   \
  X(context_set_state_callback)    \
  X(context_connect)               \
  X(context_get_state)             \
  X(context_errno)                 \
  X(context_disconnect)            \
  X(context_unref)                 \
  X(stream_new)                    \
  X(stream_set_state_callback)     \
  X(stream_set_write_callback)     \
  X(stream_connect_playback)       \
  X(stream_get_state)              \
  X(stream_get_buffer_attr)        \
  X(stream_begin_write)            \
  X(stream_write)                  \
  X(stream_disconnect)             \
  X(stream_cork)                   \
  X(stream_unref)

struct PulseCalls {
#define QUAVERLINE_PULSE_CALL_POINTER(name) decltype(&pa_##name) name;
  QUAVERLINE_PULSE_CALLS(QUAVERLINE_PULSE_CALL_POINTER)
#undef QUAVERLINE_PULSE_CALL_POINTER
};

// Loads libpulse on the first call, from any thread, and keeps it loaded. Null when the library is
// missing or lacks one of the calls (the reason goes to the sound log).
const PulseCalls* LoadPulse();

}  // namespace quaverline
