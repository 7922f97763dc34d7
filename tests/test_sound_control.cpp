// The sound engine against devices the test drives (tests/fake_device.h): what a tone asked for
// while the device opens, sleeps or is replaced sounds like, and that the caller never waits.
#include "audio/device_sound.h"
#include "audio/playback.h"
#include "fake_device.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QTest>

using namespace quaverline;
using namespace std::chrono_literals;

namespace {

long Frames(long ms) { return ms * kSampleRate / 1000; }

ControlTiming QuickTiming() {
  ControlTiming timing;
  timing.idleAfter = 300ms;
  return timing;
}

long FirstSounding(const std::vector<WaveFrame>& frames) {
  for (std::size_t i = 0; i < frames.size(); ++i)
    if (frames[i].Left != 0 || frames[i].Right != 0) return long(i);
  return -1;
}

long SoundingSpan(const std::vector<WaveFrame>& frames) {
  const long first = FirstSounding(frames);
  if (first < 0) return 0;
  long last = long(frames.size()) - 1;
  while (frames[std::size_t(last)].Left == 0 && frames[std::size_t(last)].Right == 0) --last;
  return last - first + 1;
}

// Starts a loop of one 666 Hz period for `lengthMs`; returns how long the call took.
qint64 StartTone(DeviceSound& sound, WaveImage& wave, std::int32_t lengthMs) {
  SynthesizeTone(wave, 666, 666);
  QElapsedTimer timer;
  timer.start();
  PlayWave(sound, wave, SND_ASYNC | SND_LOOP, lengthMs);
  return timer.elapsed();
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > limit.count()) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

}  // namespace

class SoundControlTest : public QObject {
  Q_OBJECT
 private slots:
  void toneAskedForWhileOpeningPlaysWhole_data();
  void toneAskedForWhileOpeningPlaysWhole();
  void earlyStopOnANewDeviceEndsOnTime();
  void lostDeviceIsReplaced_data();
  void lostDeviceIsReplaced();
  void triesAgainUntilADeviceOpens();
  void retryPausesDoubleUpToTheLongest();
  void sleepsWhenSilentAndWakesForATone_data();
  void sleepsWhenSilentAndWakesForATone();
};

void SoundControlTest::toneAskedForWhileOpeningPlaysWhole_data() {
  QTest::addColumn<int>("openDelayMs");
  QTest::addColumn<bool>("heard");
  QTest::newRow("the device opens within the note") << 150 << true;
  QTest::newRow("the note is over before the device opens") << 400 << false;
}

// The first three buffers of a new stream are silence; the tone then starts at its first frame and
// lasts its whole length, although it was asked for before the device was there. A note whose
// time has passed by then keeps its time silently, as without a device.
void SoundControlTest::toneAskedForWhileOpeningPlaysWhole() {
  QFETCH(int, openDelayMs);
  QFETCH(bool, heard);
  FakeOpener::Shared shared;
  shared.openDelay = std::chrono::milliseconds(openDelayMs);
  auto wave = NewWaveImage();
  DeviceSound sound(std::make_unique<FakeOpener>(shared), QuickTiming());
  QVERIFY2(StartTone(sound, *wave, 300) < 100, "the caller waited for the device");
  QVERIFY(WaitFor([&] { return shared.Opened() == 1; }, 2s));
  QVERIFY(WaitFor([&] { return !sound.Sounding(); }, 2s));
  std::this_thread::sleep_for(20ms);
  const std::vector<WaveFrame> frames = shared.Newest()->Frames();
  if (!heard) {
    QCOMPARE(SoundingSpan(frames), 0L);
    return;
  }
  QCOMPARE(FirstSounding(frames), 3L * FakeDevice::kCycleFrames);
  QCOMPARE(SoundingSpan(frames), Frames(300));
  QCOMPARE(frames[std::size_t(FirstSounding(frames))].Left, wave->frames[0].Left);
}

// A stop asked for 250 ms after the start ends the tone 250 ms after the call as the wall clock
// goes, though the device began it only once it had opened (150 ms) and settled.
void SoundControlTest::earlyStopOnANewDeviceEndsOnTime() {
  FakeOpener::Shared shared;
  shared.openDelay = 150ms;
  auto wave = NewWaveImage();
  DeviceSound sound(std::make_unique<FakeOpener>(shared), QuickTiming());
  const auto start = std::chrono::steady_clock::now();
  StartTone(sound, *wave, 1000);
  std::this_thread::sleep_until(start + 250ms);
  StopSound(sound);
  QVERIFY(WaitFor([&] { return !sound.Sounding(); }, 2s));
  const long heardMs = SoundingSpan(shared.Newest()->Frames()) * 1000 / kSampleRate;
  // Opening 150 ms and settling 17 ms leave about 80 ms; counted from the call it would be 250.
  QVERIFY2(heardMs > 30 && heardMs < 160, qPrintable(QString::number(heardMs)));
}

void SoundControlTest::lostDeviceIsReplaced_data() {
  QTest::addColumn<bool>("reported");
  QTest::newRow("the backend reports the loss") << true;
  QTest::newRow("the device stops asking") << false;
}

// Replaced without a tone asking for it, so that the next note is on time; and that note plays.
void SoundControlTest::lostDeviceIsReplaced() {
  QFETCH(bool, reported);
  FakeOpener::Shared shared;
  auto wave = NewWaveImage();
  DeviceSound sound(std::make_unique<FakeOpener>(shared), QuickTiming());
  QVERIFY(sound.WaitForDevice());
  StartTone(sound, *wave, 5000);  // awake: an asleep device asks for nothing anyway
  FakeDevice* first = shared.Newest();
  // Lost while it plays the tone: one it never took would still play whole on the next device.
  QVERIFY(WaitFor([&] { return FirstSounding(first->Frames()) >= 0; }, 2s));
  (reported ? first->lost : first->stalled) = true;
  QVERIFY2(WaitFor([&] { return shared.Opened() == 2; }, 3s), "no device opened afresh");
  QVERIFY(WaitFor([&] { return sound.State() == DeviceState::Open; }, 2s));
  // The tone that was sounding is not carried on to the new device, late.
  FakeDevice* second = shared.Newest();
  QVERIFY(WaitFor([&] { return second->Frames().size() >= 8 * FakeDevice::kCycleFrames; }, 2s));
  QCOMPARE(FirstSounding(second->Frames()), -1L);
  StartTone(sound, *wave, 100);
  QVERIFY(WaitFor([&] { return !sound.Sounding(); }, 2s));
  QCOMPARE(SoundingSpan(shared.Newest()->Frames()), Frames(100));
}

// While no device can be had after a loss, the control thread keeps trying with growing pauses;
// a tone asked for tries at once.
void SoundControlTest::triesAgainUntilADeviceOpens() {
  FakeOpener::Shared shared;
  auto wave = NewWaveImage();
  ControlTiming timing = QuickTiming();
  timing.longestRetry = 10s;
  DeviceSound sound(std::make_unique<FakeOpener>(shared), timing);
  QVERIFY(sound.WaitForDevice());
  shared.failures = 4;
  shared.Newest()->lost = true;
  // Until the new device is there: during the sixth try the newest is still the one closed.
  QVERIFY2(WaitFor([&] { return shared.Opened() == 2 && sound.State() == DeviceState::Open; }, 3s),
           qPrintable(QStringLiteral("%1 tries").arg(shared.opens.load())));
  QCOMPARE(shared.opens.load(), 6);
  shared.failures = 1000;
  shared.Newest()->lost = true;
  // Tries at once, then after 50, 100, 200, 400 ms; the next pause is 800 ms.
  QVERIFY2(WaitFor([&] { return shared.opens == 11; }, 3s), qPrintable(QStringLiteral("%1 tries").arg(shared.opens.load())));
  const int before = shared.opens;
  shared.failures = 0;
  StartTone(sound, *wave, 300);
  QVERIFY2(WaitFor([&] { return sound.State() == DeviceState::Open; }, 200ms), "the tone did not try at once");
  QCOMPARE(shared.opens.load(), before + 1);
}

// After a loss the pauses between tries double from the first up to the longest.
void SoundControlTest::retryPausesDoubleUpToTheLongest() {
  FakeOpener::Shared shared;
  ControlTiming timing = QuickTiming();
  timing.firstRetry = 40ms;
  timing.longestRetry = 160ms;
  DeviceSound sound(std::make_unique<FakeOpener>(shared), timing);
  QVERIFY(sound.WaitForDevice());
  shared.failures = 1000;
  shared.Newest()->lost = true;
  const std::vector<long> pauses = {40, 80, 160, 160, 160};
  QVERIFY(WaitFor([&] { return shared.opens > int(pauses.size()) + 1; }, 5s));
  std::vector<std::chrono::steady_clock::time_point> tries;
  {
    std::lock_guard lock(shared.mutex);
    tries.assign(shared.tryTimes.begin() + 1, shared.tryTimes.end());  // from the first try after the loss
  }
  long total = 0;
  for (std::size_t i = 0; i < pauses.size(); ++i) {
    const long pause = long(std::chrono::duration_cast<std::chrono::milliseconds>(tries[i + 1] - tries[i]).count());
    QVERIFY2(pause >= pauses[i], qPrintable(QStringLiteral("pause %1: %2 ms").arg(i + 1).arg(pause)));
    total += pause;
  }
  // A generous bound: uncapped, the last two pauses alone would take 960 ms.
  QVERIFY2(total < 1000, qPrintable(QStringLiteral("%1 ms in all").arg(total)));
}

void SoundControlTest::sleepsWhenSilentAndWakesForATone_data() {
  QTest::addColumn<int>("asleepMs");
  QTest::addColumn<int>("wakeDelayMs");
  QTest::newRow("woken at once") << 100 << 0;
  // Longer than the stall limit (1 s): still no stall, as the device did not ask while asleep.
  QTest::newRow("a long sleep, a slow wake-up") << 1300 << 150;
}

// Silent for its idle time, the device sleeps; a tone wakes it and sounds whole.
void SoundControlTest::sleepsWhenSilentAndWakesForATone() {
  QFETCH(int, asleepMs);
  QFETCH(int, wakeDelayMs);
  FakeOpener::Shared shared;
  auto wave = NewWaveImage();
  DeviceSound sound(std::make_unique<FakeOpener>(shared), QuickTiming());
  QVERIFY(sound.WaitForDevice());
  StartTone(sound, *wave, 100);
  QVERIFY(WaitFor([&] { return sound.State() == DeviceState::Asleep; }, 2s));
  FakeDevice* device = shared.Newest();
  device->wakeDelay = std::chrono::milliseconds(wakeDelayMs);
  QCOMPARE(device->sleeps.load(), 1);
  const std::size_t before = device->Frames().size();
  std::this_thread::sleep_for(std::chrono::milliseconds(asleepMs));
  QCOMPARE(device->Frames().size(), before);  // asleep: nothing asked for
  StartTone(sound, *wave, 300);
  QVERIFY(WaitFor([&] { return !sound.Sounding(); }, 2s));
  std::this_thread::sleep_for(20ms);
  QCOMPARE(shared.Opened(), 1);  // first: a device taken for lost is gone
  QCOMPARE(device->wakes.load(), 1);
  std::vector<WaveFrame> frames = device->Frames();
  frames.erase(frames.begin(), frames.begin() + long(before));
  QCOMPARE(SoundingSpan(frames), Frames(300));
}

QTEST_APPLESS_MAIN(SoundControlTest)
#include "test_sound_control.moc"
