// The order the system's backends are tried in, by what PipeWire said before: against openers and
// a clock the test drives.
#include "audio/backends/system_backends.h"

#include <QTest>

using namespace quaverline;
using Answer = SystemBackends::PipeWireAnswer;

namespace {

class NullDevice final : public OutputDevice {
 public:
  bool ReportedLost() const override { return false; }
  void SetActive(bool) override {}
  bool OnServer() const override { return true; }
};

}  // namespace

class SystemBackendsTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qunsetenv("SDL_AUDIODRIVER"); }
  void triedByWhatPipeWireSaid_data();
  void triedByWhatPipeWireSaid();
};

// Each step: the seconds since the start, whether a sound server's device was lost ("servers") or
// none was had, then the backends offered, in order, each tried one marked with how it answers:
// + opens, - declines (PipeWire says it does not handle sound), ~ runs cycles too short for the
// stream's thread, ! fails.
void SystemBackendsTest::triedByWhatPipeWireSaid_data() {
  QTest::addColumn<QStringList>("steps");
  QTest::newRow("PipeWire first") << QStringList{"0 all: PipeWire+ PulseAudio SDL"};
  QTest::newRow("a decline keeps PipeWire out for 60 s")
      << QStringList{"0 all: PipeWire- PulseAudio+ SDL", "30 servers: PulseAudio+", "60 servers: PulseAudio+",
                     "61 servers: PipeWire- PulseAudio+", "120 servers: PulseAudio+", "122 servers: PipeWire+ PulseAudio"};
  QTest::newRow("a lost PipeWire stream: PipeWire alone for 10 s, a decline meanwhile means not yet")
      << QStringList{"0 all: PipeWire+ PulseAudio SDL", "100 servers: PipeWire!", "105 servers: PipeWire-",
                     "109 servers: PipeWire!", "110 servers: PipeWire- PulseAudio+", "111 servers: PipeWire+ PulseAudio"};
  QTest::newRow("waiting ends when PipeWire is back")
      << QStringList{"0 all: PipeWire+ PulseAudio SDL", "100 servers: PipeWire+", "200 servers: PipeWire!",
                     "205 servers: PipeWire+"};
  QTest::newRow("cycles too short for the thread: PulseAudio for 60 s, at once after a loss")
      << QStringList{"0 all: PipeWire+ PulseAudio SDL", "100 servers: PipeWire~", "100 servers: PulseAudio+",
                     "159 servers: PulseAudio+", "161 servers: PipeWire+ PulseAudio"};
  QTest::newRow("a lost PulseAudio stream waits for no PipeWire")
      << QStringList{"0 all: PipeWire! PulseAudio+ SDL", "5 servers: PipeWire! PulseAudio+"};
}

void SystemBackendsTest::triedByWhatPipeWireSaid() {
  QFETCH(QStringList, steps);
  const SystemBackends::Clock::time_point start{};
  SystemBackends::Clock::time_point now = start;
  QChar answer;
  const auto device = [&answer]() -> std::unique_ptr<OutputDevice> {
    return answer == QLatin1Char('+') ? std::make_unique<NullDevice>() : nullptr;
  };
  SystemBackends::Openers openers;
  openers.pipewire = [&](RenderFunction, void*, Answer& said) {
    said = answer == QLatin1Char('+')   ? Answer::Opened
           : answer == QLatin1Char('-') ? Answer::Declined
           : answer == QLatin1Char('~') ? Answer::Unsuited
                                        : Answer::Failed;
    return device();
  };
  openers.pulse = [&](RenderFunction, void*) { return device(); };
  openers.sdl = openers.pulse;
  openers.now = [&now] { return now; };
  SystemBackends backends(openers);

  for (const QString& step : steps) {
    const QString when = step.section(QLatin1Char(':'), 0, 0);
    const QStringList tokens = step.section(QLatin1String(": "), 1).split(QLatin1Char(' '));
    now = start + std::chrono::seconds(when.section(QLatin1Char(' '), 0, 0).toInt());
    std::vector<Backend> offered = backends.Backends(when.endsWith(QLatin1String("servers")));
    QStringList names;
    for (const Backend& backend : offered) names << QString::fromLatin1(backend.name);
    QStringList expected;
    for (const QString& token : tokens) expected << token.left(token.size() - (token.back().isLetter() ? 0 : 1));
    QVERIFY2(names == expected, qPrintable(QStringLiteral("at \"%1\": %2").arg(step, names.join(QLatin1Char(' ')))));
    for (int i = 0; i < tokens.size() && !tokens[i].back().isLetter(); ++i) {
      answer = tokens[i].back();
      offered[std::size_t(i)].open(nullptr, nullptr);
    }
  }
}

QTEST_APPLESS_MAIN(SystemBackendsTest)
#include "test_system_backends.moc"
