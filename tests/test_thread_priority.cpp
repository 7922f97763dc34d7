// The limits the sound threads' process sets before it asks RealtimeKit for real-time.
#include "audio/backends/thread_priority.h"

#include <QTest>

using namespace quaverline;

class ThreadPriorityTest : public QObject {
  Q_OBJECT
 private slots:
  void rtTimeLimit_data();
  void rtTimeLimit();
};

// RLIMIT_RTTIME in microseconds; -1 for unlimited, and as the expected soft limit: RealtimeKit is
// not asked.
void ThreadPriorityTest::rtTimeLimit_data() {
  QTest::addColumn<qint64>("soft");
  QTest::addColumn<qint64>("hard");
  QTest::addColumn<qint64>("rtkitMax");
  QTest::addColumn<qint64>("setSoft");
  QTest::addColumn<qint64>("setHard");
  QTest::newRow("unlimited: lowered to RealtimeKit's maximum") << -1LL << -1LL << 200000LL << 200000LL << 200000LL;
  QTest::newRow("hard limit above the maximum: lowered") << 300000LL << 500000LL << 200000LL << 200000LL << 200000LL;
  QTest::newRow("set already") << 200000LL << 200000LL << 200000LL << 200000LL << 200000LL;
  QTest::newRow("hard limit below the maximum: kept") << 100000LL << 100000LL << 200000LL << 100000LL << 100000LL;
  QTest::newRow("soft limit below the hard one: up to it") << 50000LL << 100000LL << 200000LL << 100000LL << 100000LL;
  QTest::newRow("no real-time time at all: not asked") << 0LL << 0LL << 200000LL << -1LL << 0LL;
  QTest::newRow("RealtimeKit names no maximum: not asked") << -1LL << -1LL << 0LL << -1LL << 0LL;
}

void ThreadPriorityTest::rtTimeLimit() {
  QFETCH(qint64, soft);
  QFETCH(qint64, hard);
  QFETCH(qint64, rtkitMax);
  QFETCH(qint64, setSoft);
  QFETCH(qint64, setHard);
  const auto limit = [](qint64 us) { return us < 0 ? RLIM_INFINITY : rlim_t(us); };
  const std::optional<rlimit> set = RtTimeLimitFor(limit(soft), limit(hard), rtkitMax);
  QCOMPARE(set.has_value(), setSoft >= 0);
  if (!set) return;
  QCOMPARE(qint64(set->rlim_cur), setSoft);
  QCOMPARE(qint64(set->rlim_max), setHard);
}

QTEST_APPLESS_MAIN(ThreadPriorityTest)
#include "test_thread_priority.moc"
