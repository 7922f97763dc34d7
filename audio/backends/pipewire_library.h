// libpipewire's calls, resolved from the shared library the first time sound is needed, as SDL2's
// are: the program runs (through SDL) where PipeWire is not installed.
#pragma once

#include <pipewire/pipewire.h>

namespace quaverline {

// Every call the program uses, each named without its pw_ prefix.
#define QUAVERLINE_PIPEWIRE_CALLS(X) \
  X(init)                            \
  X(get_library_version)             \
  X(thread_loop_new)                 \
  X(thread_loop_get_loop)            \
  X(thread_loop_start)               \
  X(thread_loop_stop)                \
  X(thread_loop_lock)                \
  X(thread_loop_unlock)              \
  X(thread_loop_destroy)             \
  X(properties_new)                  \
  X(context_new)                     \
  X(context_connect)                 \
  X(context_destroy)                 \
  X(core_disconnect)                 \
  X(proxy_destroy)                   \
  X(stream_new)                      \
  X(stream_add_listener)             \
  X(stream_connect)                  \
  X(stream_set_active)               \
  X(stream_update_properties)        \
  X(stream_destroy)                  \
  X(stream_dequeue_buffer)           \
  X(stream_queue_buffer)             \
  X(stream_state_as_string)

struct PipeWireCalls {
#define QUAVERLINE_PIPEWIRE_CALL_POINTER(name) decltype(&pw_##name) name;
  QUAVERLINE_PIPEWIRE_CALLS(QUAVERLINE_PIPEWIRE_CALL_POINTER)
#undef QUAVERLINE_PIPEWIRE_CALL_POINTER
};

// Loads libpipewire and initialises it on the first call, from any thread, and keeps it loaded.
// Null when the library is missing, lacks one of the calls, or is older than 0.3.49, whose streams
// do not say how many frames each cycle wants (the reason goes to the sound log).
const PipeWireCalls* LoadPipeWire();

}  // namespace quaverline
