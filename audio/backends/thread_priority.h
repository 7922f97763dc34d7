// Scheduling for the threads that render sound, as desktop audio clients get it: real-time where
// the process may set it itself (root, RLIMIT_RTPRIO) or RealtimeKit grants it, else a raised nice
// level the same two ways. A stream chooses how much it keeps queued from what its thread got.
#pragma once

#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>

namespace quaverline {

enum class PriorityKind { Normal, High, RealTime };

struct ThreadPriority {
  PriorityKind kind = PriorityKind::Normal;
  int level = 0;     // the real-time priority, or the nice level
  std::string how;   // how it was had, for the sound log
};

// How much sound a stream whose thread runs at each PriorityKind must keep in hand to hold on a
// busy machine, in microseconds: a PulseAudio stream's whole target length. A thread that waits its
// turn behind busy programs needs 100 ms (40 broke notes with four busy processes and the sound
// servers at nice 0 too).
constexpr int kHandNeededUs[] = {100000, 25000, 15000};

// The calling thread's id, as the scheduler knows it.
pid_t CurrentThreadId();

// What the thread runs at now.
ThreadPriority ReadThreadPriority(pid_t thread);

// Raises one thread of this process, unless it runs real-time already.
ThreadPriority RaiseThread(pid_t thread);

// RealtimeKit grants real-time only to a process whose RLIMIT_RTTIME hard limit is at most its
// maximum (`rtkitMaxUs`). The limits to set from the process's own (`soft`, `hard`), or none when
// RealtimeKit is not to be asked.
std::optional<rlimit> RtTimeLimitFor(rlim_t soft, rlim_t hard, long long rtkitMaxUs);

// "real-time round-robin 20 (set directly)", "nice -11 (through RealtimeKit)", "nice 0".
std::string Describe(const ThreadPriority& priority);

}  // namespace quaverline
