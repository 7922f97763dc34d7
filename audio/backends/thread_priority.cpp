#include "audio/backends/thread_priority.h"

#include "audio/sound_log.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

#include <algorithm>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace quaverline {

namespace {

// Below the sound servers' own threads (PipeWire's 88), at RealtimeKit's usual ceiling.
constexpr int kRealTimePriority = 20;
// What PipeWire's clients ask for when real-time cannot be had.
constexpr int kHighNice = -11;
constexpr int kDBusTimeoutMs = 500;

const char* const kRtkitService = "org.freedesktop.RealtimeKit1";
const char* const kRtkitPath = "/org/freedesktop/RealtimeKit1";

bool SetRealTime(pid_t thread, int priority) {
  sched_param param{};
  param.sched_priority = priority;
  return sched_setscheduler(thread, SCHED_RR | SCHED_RESET_ON_FORK, &param) == 0;
}

std::string Us(rlim_t limit) { return limit == RLIM_INFINITY ? "unlimited" : std::to_string(limit) + " us"; }

bool SetNice(pid_t thread, int nice) { return setpriority(PRIO_PROCESS, id_t(thread), nice) == 0; }

// RealtimeKit answers on the system bus. It grants real-time only to a process that limits its
// real-time threads' processor time (RLIMIT_RTTIME) to at most what it allows, so that a runaway
// thread is stopped, and nice levels down to its minimum.
class Rtkit {
 public:
  Rtkit() : bus_(QDBusConnection::systemBus()) {}
  bool Usable() const { return bus_.isConnected(); }

  qlonglong Property(const char* name) {
    QDBusMessage call = QDBusMessage::createMethodCall(kRtkitService, kRtkitPath, "org.freedesktop.DBus.Properties",
                                                       "Get");
    call << QString::fromLatin1(kRtkitService) << QString::fromLatin1(name);
    const QDBusMessage reply = bus_.call(call, QDBus::Block, kDBusTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return 0;
    return reply.arguments().first().value<QDBusVariant>().variant().toLongLong();
  }

  bool MakeRealTime(pid_t thread, int priority) {
    const qlonglong maxRtTime = Property("RTTimeUSecMax");
    const qlonglong maxPriority = Property("MaxRealtimePriority");
    if (maxPriority <= 0) return false;
    rlimit had{};
    if (getrlimit(RLIMIT_RTTIME, &had) != 0) return false;
    const std::optional<rlimit> limit = RtTimeLimitFor(had.rlim_cur, had.rlim_max, maxRtTime);
    if (!limit) {
      qCInfo(lcSound, "RLIMIT_RTTIME: soft %s, hard %s; RealtimeKit allows up to %lld us: not asked",
             Us(had.rlim_cur).c_str(), Us(had.rlim_max).c_str(), maxRtTime);
      return false;
    }
    const bool set = setrlimit(RLIMIT_RTTIME, &*limit) == 0;
    qCInfo(lcSound, "RLIMIT_RTTIME: soft %s, hard %s; RealtimeKit allows up to %lld us: %s %s%s",
           Us(had.rlim_cur).c_str(), Us(had.rlim_max).c_str(), maxRtTime, set ? "set to" : "could not set",
           Us(limit->rlim_max).c_str(),
           had.rlim_max != RLIM_INFINITY && had.rlim_max < rlim_t(maxRtTime) ? ", the hard limit, which is below it"
                                                                             : "");
    if (!set) return false;
    return Call("MakeThreadRealtime", thread, quint32(std::min<qlonglong>(priority, maxPriority)));
  }

  bool MakeHighPriority(pid_t thread, int nice) {
    const qlonglong minNice = Property("MinNiceLevel");
    return Call("MakeThreadHighPriority", thread, qint32(std::max<qlonglong>(nice, minNice)));
  }

 private:
  template <typename Level>
  bool Call(const char* method, pid_t thread, Level level) {
    QDBusMessage call = QDBusMessage::createMethodCall(kRtkitService, kRtkitPath, kRtkitService, method);
    call << quint64(thread) << level;
    return bus_.call(call, QDBus::Block, kDBusTimeoutMs).type() == QDBusMessage::ReplyMessage;
  }

  QDBusConnection bus_;
};

ThreadPriority With(ThreadPriority priority, const char* how) {
  priority.how = how;
  return priority;
}

}  // namespace

std::optional<rlimit> RtTimeLimitFor(rlim_t, rlim_t hard, long long rtkitMaxUs) {
  // A hard limit of 0 would end the process at its real-time thread's first instant.
  if (rtkitMaxUs <= 0 || hard == 0) return std::nullopt;
  // Only root may raise a hard limit; anyone may lower it, and raise the soft one up to it.
  const rlim_t limit = hard == RLIM_INFINITY ? rlim_t(rtkitMaxUs) : std::min(hard, rlim_t(rtkitMaxUs));
  return rlimit{limit, limit};
}

pid_t CurrentThreadId() { return pid_t(syscall(SYS_gettid)); }

ThreadPriority ReadThreadPriority(pid_t thread) {
  ThreadPriority priority;
  const int policy = sched_getscheduler(thread);
  if (policy >= 0 && ((policy & ~SCHED_RESET_ON_FORK) == SCHED_RR || (policy & ~SCHED_RESET_ON_FORK) == SCHED_FIFO)) {
    sched_param param{};
    sched_getparam(thread, &param);
    priority.kind = PriorityKind::RealTime;
    priority.level = param.sched_priority;
    return priority;
  }
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, id_t(thread));
  priority.level = errno == 0 ? nice : 0;
  priority.kind = priority.level < 0 ? PriorityKind::High : PriorityKind::Normal;
  return priority;
}

ThreadPriority RaiseThread(pid_t thread) {
  const ThreadPriority now = ReadThreadPriority(thread);
  if (now.kind == PriorityKind::RealTime) return With(now, "already");
  if (SetRealTime(thread, kRealTimePriority)) return With(ReadThreadPriority(thread), "set directly");
  // QtDBus needs the application object; without one (a test without it) only the direct ways.
  const bool bus = QCoreApplication::instance() != nullptr;
  if (bus) {
    Rtkit rtkit;
    if (rtkit.Usable() && rtkit.MakeRealTime(thread, kRealTimePriority))
      return With(ReadThreadPriority(thread), "through RealtimeKit");
  }
  if (now.level <= kHighNice) return With(now, "already");
  if (SetNice(thread, kHighNice)) return With(ReadThreadPriority(thread), "set directly");
  if (bus) {
    Rtkit rtkit;
    if (rtkit.Usable() && rtkit.MakeHighPriority(thread, kHighNice))
      return With(ReadThreadPriority(thread), "through RealtimeKit");
  }
  return With(now, "neither real-time nor a higher priority could be had");
}

std::string Describe(const ThreadPriority& priority) {
  std::string text = priority.kind == PriorityKind::RealTime ? "real-time priority " + std::to_string(priority.level)
                                                               : "nice " + std::to_string(priority.level);
  if (!priority.how.empty()) text += " (" + priority.how + ")";
  return text;
}

}  // namespace quaverline
