// The hand-off between callers and SDL's audio thread: starts, replacements, stops and beeps
// hammered from two threads against the real DeviceSound while the callback renders. Built with
// ThreadSanitizer this finds unguarded shared state; in the other builds it checks that every
// call still does what it says under that load.
#include "audio/playback.h"
#include "audio/device_sound.h"
#include "audio/tone_handoff.h"
#include "audio/wave_image.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace quaverline;

namespace {

constexpr std::int32_t kLoop = SND_ASYNC | SND_LOOP;
constexpr std::int32_t kLoopMs = 50;

// Frame counts from a single frame to the full capacity.
constexpr std::array<int, 8> kFrameCounts = {1, 4, 33, 66, 100, 441, 1000, kWaveCapacity};

// Waits until the device has played out everything it was given.
bool FallsSilent(DeviceSound& sound, int withinMs) {
  QElapsedTimer timer;
  timer.start();
  while (sound.Sounding()) {
    if (timer.elapsed() > withinMs) return false;
    sound.Sleep(2);
  }
  return true;
}

}  // namespace

class AudioThreadsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { QVERIFY(dir_.isValid()); }
  void cleanup() { ResetSdlDriver(); }

  void handOffNeverShowsAHalfWrittenPlan();
  void handOffUnderLoad_data();
  void handOffUnderLoad();
  void openAndCloseWhileSounding();
  void handOffOnAServer();
  void firstCallsFromTwoThreadsOpenOnce();

 private:
  void UseDriver(const QString& driver) {
    UseSdlDriver(driver.toUtf8(), driver == QLatin1String("disk") ? dir_.filePath(QStringLiteral("out.raw")) : QString());
  }

  QTemporaryDir dir_;
};

// The writer fills each plan's image with its own id; the reader must only ever see plans whose
// every frame, frame count and length belong to one id, and ids that never go back.
void AudioThreadsTest::handOffNeverShowsAHalfWrittenPlan() {
  auto plans = std::make_unique<TripleBuffer<TonePlan>>();
  constexpr std::uint64_t kPlans = 20000;
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (std::uint64_t id = 1; id <= kPlans; ++id) {
      TonePlan& plan = plans->Back();
      plan.loop.id = id;
      plan.loop.frameCount = std::int32_t(1 + id % kWaveCapacity);
      plan.loop.totalFrames = std::int64_t(id);
      const auto value = std::int16_t(id % 30000);
      for (std::int32_t i = 0; i < plan.loop.frameCount; ++i) plan.loop.frames[std::size_t(i)] = {value, value};
      plans->Publish();
    }
    done = true;
  });
  std::uint64_t seen = 0, taken = 0, torn = 0, backwards = 0;
  for (;;) {
    const bool finished = done.load();
    if (!plans->TakeNewest()) {
      if (finished) break;
      continue;
    }
    ++taken;
    const LoopPlan& loop = plans->Front().loop;
    const auto value = std::int16_t(loop.id % 30000);
    bool whole = loop.frameCount == std::int32_t(1 + loop.id % kWaveCapacity) && loop.totalFrames == std::int64_t(loop.id);
    for (std::int32_t i = 0; whole && i < loop.frameCount; ++i)
      whole = loop.frames[std::size_t(i)].Left == value && loop.frames[std::size_t(i)].Right == value;
    torn += whole ? 0 : 1;
    backwards += loop.id < seen ? 1 : 0;
    seen = loop.id;
  }
  writer.join();
  qInfo("%llu plans written, %llu taken", static_cast<unsigned long long>(kPlans), static_cast<unsigned long long>(taken));
  QCOMPARE(torn, std::uint64_t(0));
  QCOMPARE(backwards, std::uint64_t(0));
  QCOMPARE(seen, kPlans);  // the last plan always arrives
}

void AudioThreadsTest::handOffUnderLoad_data() {
  QTest::addColumn<QString>("driver");
  QTest::newRow("dummy") << "dummy";
  QTest::newRow("disk") << "disk";
}

void AudioThreadsTest::handOffUnderLoad() {
  QFETCH(QString, driver);
  UseDriver(driver);
  DeviceSound sound;
  QVERIFY(sound.WaitForDevice());

  constexpr int kStarts = 3000;
  constexpr int kBeeps = 500;
  std::atomic<int> wrongResults{0};
  std::atomic<bool> done{false};

  // Thread A, like the window thread: synthesise into its one image while the previous loop may
  // still sound, start it (replacing that loop), sometimes hand over a bad image or wrong flags,
  // and stop.
  std::thread starter([&] {
    auto wave = NewWaveImage();
    auto bad = NewWaveImage();
    SynthesizeTone(*bad, 666, 666);
    bad->channels = 1;
    for (int i = 0; i < kStarts; ++i) {
      const int frames = kFrameCounts[std::size_t(i) % kFrameCounts.size()];
      if (!SynthesizeTone(*wave, 44100.0 / frames, 44100.0 / frames)) ++wrongResults;
      if (PlayWave(sound, *wave, kLoop, kLoopMs) != 1) ++wrongResults;
      if (i % 5 == 0 && PlayWave(sound, *wave, kLoop, kLoopMs) != 1) ++wrongResults;  // a replacement
      if (i % 7 == 0 && PlayWave(sound, *bad, kLoop, kLoopMs) != 0) ++wrongResults;
      if (i % 11 == 0 && PlayWave(sound, *wave, SND_ASYNC, kLoopMs) != 0) ++wrongResults;
      if (i % 16 == 0) sound.Sleep(1);
      StopSound(sound);
    }
  });

  // Thread B: short beeps and sleeps.
  std::thread beeper([&] {
    for (int j = 0; j < kBeeps; ++j) {
      sound.Beep(440 + j % 500, 1 + j % 3);
      sound.Sleep(j % 2);
    }
  });

  // A third thread asks for the state meanwhile.
  std::thread watcher([&] {
    while (!done.load()) {
      sound.Sounding();
      std::this_thread::yield();
    }
  });

  starter.join();
  beeper.join();
  done = true;
  watcher.join();
  qInfo("%s driver: %d starts with replacements, bad images and stops against %d beeps", qPrintable(driver), kStarts,
        kBeeps);
  QCOMPARE(wrongResults.load(), 0);
  QVERIFY(sound.WaitForDevice());
  QVERIFY(FallsSilent(sound, 3000));

  // The callback still renders: a long loop started now sounds and ends soon after its stop.
  auto wave = NewWaveImage();
  QVERIFY(SynthesizeTone(*wave, 440, 440));
  QCOMPARE(PlayWave(sound, *wave, kLoop, 60000), 1);
  QVERIFY(sound.Sounding());
  sound.Sleep(30);
  StopSound(sound);
  QVERIFY(FallsSilent(sound, 3000));
}

void AudioThreadsTest::openAndCloseWhileSounding() {
  auto wave = NewWaveImage();
  QVERIFY(SynthesizeTone(*wave, 666, 666));
  constexpr int kCycles = 20;
  for (int i = 0; i < kCycles; ++i) {
    DeviceSound sound;
    QVERIFY(sound.WaitForDevice());
    QCOMPARE(PlayWave(sound, *wave, kLoop, 60000), 1);
    std::thread beeper([&sound, i] { sound.Beep(880, 1 + i % 3); });
    sound.Sleep(i % 4);
    beeper.join();
    // Closed with the loop still sounding.
  }
  qInfo("%d devices opened and closed while sounding", kCycles);
}

// The same hammering against the program's own stream on a private sound server, whose thread
// renders (tests/e2e/server_threads.sh starts the servers and names one in QUAVERLINE_TEST_SERVER).
void AudioThreadsTest::handOffOnAServer() {
  const QByteArray server = qgetenv("QUAVERLINE_TEST_SERVER");
  if (server.isEmpty()) QSKIP("needs a private sound server: tests/e2e/server_threads.sh runs this");
  qunsetenv("SDL_AUDIODRIVER");
  DeviceSound sound;
  QVERIFY(sound.WaitForDevice());
  QCOMPARE(QByteArray(sound.OpenedBackend()), server);
  auto wave = NewWaveImage();
  std::atomic<int> wrongResults{0};
  std::thread starter([&] {
    for (int i = 0; i < 400; ++i) {
      const int frames = kFrameCounts[std::size_t(i) % kFrameCounts.size()];
      SynthesizeTone(*wave, 44100.0 / frames, 44100.0 / frames);
      if (PlayWave(sound, *wave, kLoop, kLoopMs) != 1) ++wrongResults;
      sound.Sleep(i % 3);
      StopSound(sound);
    }
  });
  std::thread beeper([&] {
    for (int j = 0; j < 200; ++j) sound.Beep(440 + j % 500, 1 + j % 3);
  });
  starter.join();
  beeper.join();
  QCOMPARE(wrongResults.load(), 0);
  QVERIFY(FallsSilent(sound, 3000));
  QCOMPARE(sound.State(), DeviceState::Open);
}

// The device opens in the background or at the first sound; here that first sound is asked for by
// two threads at once, half of the time while the background open runs.
void AudioThreadsTest::firstCallsFromTwoThreadsOpenOnce() {
  auto wave = NewWaveImage();
  QVERIFY(SynthesizeTone(*wave, 666, 666));
  constexpr int kCycles = 20;
  for (int i = 0; i < kCycles; ++i) {
    DeviceSound sound;
    if (i % 2 == 0) sound.OpenInBackground();
    std::atomic<bool> started{false};
    std::thread looper([&] {
      started = PlayWave(sound, *wave, kLoop, 60000) == 1;
      sound.Sleep(1 + i % 3);
      StopSound(sound);
    });
    std::thread beeper([&sound, i] { sound.Beep(880, 1 + i % 2); });
    looper.join();
    beeper.join();
    QVERIFY(started);
    QVERIFY(sound.WaitForDevice());
    QVERIFY(FallsSilent(sound, 3000));
  }
  qInfo("%d devices opened by two threads' first calls", kCycles);
}

QTEST_APPLESS_MAIN(AudioThreadsTest)
#include "test_audio_threads.moc"
