// End to end through SDL: what DeviceSound hands the device, captured by SDL's disk audio driver,
// and how it behaves without any usable driver.
#include "audio/playback.h"
#include "audio/device_sound.h"
#include "audio/backends/shared_library.h"
#include "captured_stream.h"
#include "process_maps.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>
#include <unistd.h>

using namespace quaverline;

namespace {

// Collects what is written to stderr while it lives.
class StderrCapture {
 public:
  explicit StderrCapture(const QString& path) : path_(path) {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "w");
    if (file != nullptr) {
      dup2(fileno(file), STDERR_FILENO);
      std::fclose(file);
    }
  }
  ~StderrCapture() { Restore(); }
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  QByteArray Finish() {
    Restore();
    QFile file(path_);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
  }

  QString path_;
  int saved_ = -1;
};

}  // namespace

class TestDeviceSound : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    capture_ = dir_.filePath(QStringLiteral("%1.raw").arg(QTest::currentTestFunction()));
  }

  void cleanup() { ResetSdlDriver(); }

  // First of all, as SDL stays loaded for the life of the process. Loading it and opening the
  // device at the first sound must not lengthen or shorten that sound.
  void firstSoundLoadsTheLibraryOutsideTheTone() {
    auto wave = NewWaveImage();
    std::int32_t stopflag = 0;
    {
      UseDiskAudio(capture_);
      DeviceSound sound;
      sound.Sleep(1);
      sound.StopLoop();  // a stop with nothing started opens nothing
      QVERIFY(!MappedInProcess(kSdl2LibraryName));
      QVERIFY(PlayToneOnSoundcard(sound, *wave, 666, QStringLiteral("75"), QLocale::c(), stopflag));
      QVERIFY(MappedInProcess(kSdl2LibraryName));
      Drain(sound);
    }
    QCOMPARE(CapturedStream::Read(capture_).SoundingSpan(), 150L * kSampleRate / 1000);
  }

  void firstBeepOpensTheDeviceOutsideTheTone() {
    {
      UseDiskAudio(capture_);
      DeviceSound sound;
      QElapsedTimer timer;
      timer.start();
      QVERIFY(PlayToneOnSpeaker(sound, 666, QStringLiteral("150"), QLocale::c()));
      QVERIFY(timer.elapsed() >= 150);
      Drain(sound);
    }
    QCOMPARE(CapturedStream::Read(capture_).SoundingSpan(), 150L * kSampleRate / 1000);
  }

  void soundcardToneLoopsOnePeriodForTwiceTheDuration() {
    auto wave = NewWaveImage();
    std::int32_t stopflag = 0;
    {
      UseDiskAudio(capture_);
      DeviceSound sound;
      QVERIFY(sound.WaitForDevice());
      QVERIFY(PlayToneOnSoundcard(sound, *wave, 666, QStringLiteral("150"), QLocale::c(), stopflag));
      Drain(sound);
    }
    QCOMPARE(stopflag, 1);
    const CapturedStream stream = CapturedStream::Read(capture_);
    QVERIFY(stream.IsLoopOf(*wave, 66));
    QCOMPARE(stream.SoundingSpan(), 300L * kSampleRate / 1000);
    QVERIFY(stream.LastSounding() + kSdlBufferFrames < long(stream.frames.size()));  // silence followed
  }

  void beepRange_data() {
    QTest::addColumn<int>("frequency");
    QTest::addColumn<long>("frames");  // heard
    QTest::newRow("36 Hz") << 36 << 0L;
    QTest::newRow("37 Hz") << 37 << 882L;
    QTest::newRow("32767 Hz") << 32767 << 882L;
    QTest::newRow("32768 Hz") << 32768 << 0L;
  }

  void beepRange() {
    QFETCH(int, frequency);
    QFETCH(long, frames);
    {
      UseDiskAudio(capture_);
      DeviceSound sound;
      QVERIFY(sound.WaitForDevice());
      sound.Beep(frequency, 20);
      Drain(sound);
    }
    QCOMPARE(CapturedStream::Read(capture_).SoundingSpan(), frames);
  }

  void beepIsASquareWaveOfExactLength() {
    {
      UseDiskAudio(capture_);
      DeviceSound sound;
      QVERIFY(sound.WaitForDevice());
      QElapsedTimer timer;
      timer.start();
      sound.Beep(666, 150);
      QVERIFY(timer.elapsed() >= 150);
      Drain(sound);
    }
    const CapturedStream stream = CapturedStream::Read(capture_);
    const long first = stream.FirstSounding();
    QVERIFY(first >= 0);
    QCOMPARE(stream.SoundingSpan(), 150L * kSampleRate / 1000);
    for (long i = first; i <= stream.LastSounding(); ++i) {
      const WaveFrame frame = stream.frames[std::size_t(i)];
      QVERIFY(frame.Left == kBeepAmplitude || frame.Left == -kBeepAmplitude);
      QCOMPARE(frame.Right, frame.Left);
    }
    // 666 Hz for 150 ms is 99.9 periods, two level changes each.
    const long changes = stream.LeftSignChanges(first, stream.LastSounding() + 1);
    QVERIFY2(changes >= 198 && changes <= 200, qPrintable(QString::number(changes)));
  }

  void badImageIsNotPlayed() {
    auto wave = NewWaveImage();
    QVERIFY(SynthesizeTone(*wave, 666, 666));
    wave->channels = 1;
    {
      UseDiskAudio(capture_);
      DeviceSound sound;
      QVERIFY(sound.WaitForDevice());
      QCOMPARE(PlayWave(sound, *wave, 9, 100), 0);
      sound.Sleep(100);
      StopSound(sound);
    }
    const CapturedStream stream = CapturedStream::Read(capture_);
    QVERIFY(stream.frames.size() >= std::size_t(kSdlBufferFrames));
    QCOMPARE(stream.FirstSounding(), -1L);
  }

  void newToneReplacesLoopingOne() {
    auto first = NewWaveImage();
    auto second = NewWaveImage();
    QVERIFY(SynthesizeTone(*first, 666, 666));
    QVERIFY(SynthesizeTone(*second, 1333, 1333));
    {
      UseDiskAudio(capture_);
      DeviceSound sound;
      QVERIFY(sound.WaitForDevice());
      QCOMPARE(PlayWave(sound, *first, 9, 1000), 1);
      sound.Sleep(100);
      QCOMPARE(PlayWave(sound, *second, 9, 1000), 1);
      sound.Sleep(100);
      StopSound(sound);
      Drain(sound);
    }
    const CapturedStream stream = CapturedStream::Read(capture_);
    // The second loop starts at its own first frame, right where the first one was cut.
    long switchAt = -1;
    const long start = stream.FirstSounding();
    for (long i = start; i <= stream.LastSounding() && switchAt < 0; ++i) {
      const WaveFrame& expected = first->frames[(i - start) % 66];
      if (stream.frames[std::size_t(i)].Left != expected.Left || stream.frames[std::size_t(i)].Right != expected.Right) {
        switchAt = i;
      }
    }
    QVERIFY(switchAt > start);
    // The first mismatch may lie a few frames into the second loop where both images agree.
    long secondStart = switchAt;
    while (secondStart > start && (secondStart - start) % kSdlBufferFrames != 0) --secondStart;
    for (long i = secondStart; i < secondStart + 66; ++i) {
      QCOMPARE(stream.frames[std::size_t(i)].Left, second->frames[(i - secondStart) % 33].Left);
    }
  }

  void withoutDriverEverythingKeepsItsTime() {
    UseSdlDriver("nonexistent");
    // The sound log, when turned on, says why there is no sound.
    QLoggingCategory::setFilterRules(QStringLiteral("quaverline.sound.info=true"));
    QTest::ignoreMessage(QtInfoMsg, "no audio driver could start: Audio target 'nonexistent' not available");
    // Matched as plain text: QtTest matches a pattern on the thread that logs, here the sound-control
    // thread, and Qt's per-thread pattern stack is freed after that thread's storage on MinGW.
    QTest::ignoreMessage(QtInfoMsg, "no sound device: tones keep their time but are not heard");
    auto wave = NewWaveImage();
    std::int32_t stopflag = 0;
    StderrCapture errors(dir_.filePath(QStringLiteral("stderr.txt")));
    QElapsedTimer timer;
    {
      DeviceSound sound;
      QVERIFY(!sound.WaitForDevice());
      timer.start();
      sound.Beep(440, 100);
      const qint64 beep = timer.restart();
      QVERIFY2(beep >= 100 && beep < 2000, qPrintable(QString::number(beep)));
      QVERIFY(PlayToneOnSoundcard(sound, *wave, 666, QStringLiteral("50"), QLocale::c(), stopflag));
      const qint64 tone = timer.restart();
      QVERIFY2(tone >= 100 && tone < 2000, qPrintable(QString::number(tone)));
      QCOMPARE(PlayWave(sound, *wave, 9, 100), 0);
      StopSound(sound);
      sound.Beep(20, 1000);  // below the beep range: returns at once
      sound.Sleep(0);
      QVERIFY(timer.elapsed() < 500);
    }
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(stopflag, 1);
    QCOMPARE(errors.Finish(), QByteArray());
  }

  void alsaWithoutCardIsQuiet() {
    UseSdlDriver("alsa");
    StderrCapture errors(dir_.filePath(QStringLiteral("stderr.txt")));
    {
      DeviceSound sound;
      sound.Beep(440, 20);
    }
    QCOMPARE(errors.Finish(), QByteArray());
  }

  void diskDriverIsQuiet() {
    StderrCapture errors(dir_.filePath(QStringLiteral("stderr.txt")));
    {
      UseDiskAudio(capture_);
      DeviceSound sound;
      QVERIFY(sound.WaitForDevice());
    }
    QCOMPARE(errors.Finish(), QByteArray());
  }

 private:
  QTemporaryDir dir_;
  QString capture_;
};

QTEST_APPLESS_MAIN(TestDeviceSound)
#include "test_device_sound.moc"
