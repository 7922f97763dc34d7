// The image validator and the rendering the audio callback does, driven without a device.
#include "audio/mixer.h"
#include "test_support.h"

#include <QTest>

#include <cstring>
#include <memory>
#include <vector>

using namespace quaverline;

namespace {

std::unique_ptr<WaveImage> Tone(double frequency) {
  auto wave = NewWaveImage();
  if (!SynthesizeTone(*wave, frequency, frequency)) return nullptr;
  return wave;
}

struct Stereo {
  int left;
  int right;
  bool operator==(const Stereo&) const = default;
};

std::vector<Stereo> Render(MixerState& state, int frames) {
  std::vector<std::int16_t> out(std::size_t(frames) * 2, 12345);
  RenderFrames(state, out.data(), frames);
  std::vector<Stereo> result;
  for (int i = 0; i < frames; ++i) result.push_back({out[2 * std::size_t(i)], out[2 * std::size_t(i) + 1]});
  return result;
}

Stereo FrameOf(const WaveImage& wave, int index) { return {wave.frames[index].Left, wave.frames[index].Right}; }

constexpr std::int64_t kUntilStopped = 1'000'000;  // frames: longer than any test renders

}  // namespace

class TestMixer : public QObject {
  Q_OBJECT

 private slots:
  void acceptsSynthesisedImages_data() {
    QTest::addColumn<double>("frequency");
    QTest::addColumn<int>("frames");
    QTest::newRow("44100 Hz") << 44100.0 << 1;
    QTest::newRow("666 Hz") << 666.0 << 66;
    QTest::newRow("8.8 Hz, full capacity") << 8.8 << 5000;
  }

  void acceptsSynthesisedImages() {
    QFETCH(double, frequency);
    QFETCH(int, frames);
    const auto wave = Tone(frequency);
    QVERIFY(wave);
    const auto image = ReadLoopImage(wave.get());
    QVERIFY(image);
    QCOMPARE(image->frameCount, frames);
    QCOMPARE(static_cast<const void*>(image->frames), static_cast<const void*>(wave->frames));
  }

  void rejectsBadHeaders_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");  // written over a valid 66-frame image
    QTest::newRow("RIFF id") << 0 << QByteArray("RIFX");
    QTest::newRow("RIFF size") << 4 << QByteArray::fromHex("00010000");
    QTest::newRow("WAVE id") << 8 << QByteArray("WAVf");
    QTest::newRow("fmt id") << 12 << QByteArray("fmt_");
    QTest::newRow("fmt length") << 16 << QByteArray::fromHex("12000000");
    QTest::newRow("format tag 3") << 20 << QByteArray::fromHex("0300");
    QTest::newRow("1 channel") << 22 << QByteArray::fromHex("0100");
    QTest::newRow("48000 Hz") << 24 << QByteArray::fromHex("80bb0000");
    QTest::newRow("bytes per second") << 28 << QByteArray::fromHex("00000000");
    QTest::newRow("block size 2") << 32 << QByteArray::fromHex("0200");
    QTest::newRow("8 bits") << 34 << QByteArray::fromHex("0800");
    QTest::newRow("data id") << 36 << QByteArray("LIST");
    QTest::newRow("data size 0") << 40 << QByteArray::fromHex("00000000");
    QTest::newRow("data size not whole frames") << 40 << QByteArray::fromHex("06010000");
    QTest::newRow("data size 5001 frames") << 40 << QByteArray::fromHex("244e0000");
    QTest::newRow("data size negative") << 40 << QByteArray::fromHex("f8ffffff");
  }

  void rejectsBadHeaders() {
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    auto wave = Tone(666);
    QVERIFY(ReadLoopImage(wave.get()));
    std::memcpy(reinterpret_cast<char*>(wave.get()) + offset, bytes.constData(), std::size_t(bytes.size()));
    if (offset == 40) wave->riffSize = wave->dataSize + 36;  // only the data size is wrong
    QVERIFY(!ReadLoopImage(wave.get()));
  }

  void rejectsNull() { QVERIFY(!ReadLoopImage(nullptr)); }

  void loopsAcrossBuffers() {
    const auto wave = Tone(11025);
    MixerState state;
    StartLoop(state, *ReadLoopImage(wave.get()), kUntilStopped);
    std::vector<Stereo> played;
    for (int buffer = 0; buffer < 5; ++buffer) {
      const auto part = Render(state, 3);
      played.insert(played.end(), part.begin(), part.end());
    }
    QCOMPARE(played.size(), std::size_t(15));
    for (int i = 0; i < 15; ++i) QCOMPARE(played[std::size_t(i)], FrameOf(*wave, i % 4));
  }

  void stopGivesSilence() {
    const auto wave = Tone(44100);
    MixerState state;
    StartLoop(state, *ReadLoopImage(wave.get()), kUntilStopped);
    QCOMPARE(Render(state, 1).front(), (Stereo{2000, 0}));
    StopLoopAfter(state, 0);
    QVERIFY(!Sounding(state));
    for (const Stereo& frame : Render(state, 441)) QCOMPARE(frame, (Stereo{0, 0}));
  }

  void stopCountsFramesFromTheStart_data() {
    QTest::addColumn<int>("playedBeforeStop");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("sounding");  // frames heard in all
    QTest::newRow("stop ahead of the device") << 3 << 10 << 10;
    QTest::newRow("stop across several buffers") << 3 << 1000 << 1000;
    QTest::newRow("device already past the stop") << 6 << 4 << 6;
    QTest::newRow("stop exactly where the device is") << 5 << 5 << 5;
  }

  void stopCountsFramesFromTheStart() {
    QFETCH(int, playedBeforeStop);
    QFETCH(int, total);
    QFETCH(int, sounding);
    const auto wave = Tone(11025);
    MixerState state;
    StartLoop(state, *ReadLoopImage(wave.get()), kUntilStopped);
    std::vector<Stereo> played = Render(state, playedBeforeStop);
    StopLoopAfter(state, total);
    for (int buffer = 0; buffer < 4; ++buffer) {
      const auto part = Render(state, 441);
      played.insert(played.end(), part.begin(), part.end());
    }
    QVERIFY(!Sounding(state));
    for (std::size_t i = 0; i < played.size(); ++i) {
      const Stereo expected = int(i) < sounding ? FrameOf(*wave, int(i % 4)) : Stereo{0, 0};
      QCOMPARE(played[i], expected);
    }
  }

  // A device that renders several buffers at once (as sound servers do when a stream starts, and
  // now and then later) plays a 300 ms loop for exactly 300 ms when the note's stop comes on
  // time or late; an early stop ends it at once, where the device is, or where the clock is if
  // the device is behind.
  void loopKeepsItsLengthWhateverTheDeviceRendersAhead_data() {
    QTest::addColumn<int>("burstTick");     // the 10 ms tick at which the device renders ...
    QTest::addColumn<int>("burstBuffers");  // ... this many 441-frame buffers instead of one
    QTest::addColumn<int>("stopMs");        // when the caller stops the loop
    QTest::addColumn<int>("sounding");      // frames heard in all
    QTest::newRow("steady device") << 0 << 1 << 300 << 13230;
    QTest::newRow("four buffers as the stream starts") << 0 << 4 << 300 << 13230;
    QTest::newRow("five buffers in the middle") << 15 << 5 << 300 << 13230;
    QTest::newRow("burst just before the stop") << 28 << 3 << 300 << 13230;
    QTest::newRow("stop comes late") << 0 << 4 << 450 << 13230;
    QTest::newRow("early stop, device ahead") << 0 << 4 << 100 << 13 * 441;
    QTest::newRow("early stop, device behind") << 0 << 0 << 100 << 4410;
  }

  void loopKeepsItsLengthWhateverTheDeviceRendersAhead() {
    QFETCH(int, burstTick);
    QFETCH(int, burstBuffers);
    QFETCH(int, stopMs);
    QFETCH(int, sounding);
    const auto wave = Tone(11025);
    MixerState state;
    StartLoop(state, *ReadLoopImage(wave.get()), FramesIn(300));
    std::vector<Stereo> played;
    bool stopped = false;
    for (int tick = 0; tick < 100; ++tick) {
      if (!stopped && tick * 10 >= stopMs) {
        StopLoopAfter(state, FramesIn(stopMs));
        stopped = true;
      }
      for (int buffer = 0; buffer < (tick == burstTick ? burstBuffers : 1); ++buffer) {
        const auto part = Render(state, 441);
        played.insert(played.end(), part.begin(), part.end());
      }
    }
    QVERIFY(!Sounding(state));
    for (std::size_t i = 0; i < played.size(); ++i) {
      const Stereo expected = int(i) < sounding ? FrameOf(*wave, int(i % 4)) : Stereo{0, 0};
      QVERIFY2(played[i] == expected, qPrintable(QStringLiteral("frame %1").arg(i)));
    }
  }

  void secondStopNeverLengthens() {
    const auto wave = Tone(11025);
    MixerState state;
    StartLoop(state, *ReadLoopImage(wave.get()), kUntilStopped);
    Render(state, 100);
    StopLoopAfter(state, 300);  // the device is behind: 200 frames still to play
    StopLoopAfter(state, 5000);
    const auto tail = Render(state, 441);
    QCOMPARE(tail[199], FrameOf(*wave, 299 % 4));
    QCOMPARE(tail[200], (Stereo{0, 0}));
    QVERIFY(!Sounding(state));
    StartLoop(state, *ReadLoopImage(wave.get()), kUntilStopped);
    Render(state, 100);
    StopLoopAfter(state, 300);
    StopLoopAfter(state, 200);  // an earlier end still counts
    const auto rest = Render(state, 200);
    QCOMPARE(rest[99], FrameOf(*wave, 99 % 4));
    QCOMPARE(rest[100], (Stereo{0, 0}));
  }

  void stopWithoutLoopKeepsBeep() {
    MixerState state;
    StartBeep(state, 11025, 8);
    StopLoopAfter(state, 0);
    QVERIFY(Sounding(state));
    QCOMPARE(Render(state, 1).front().left, 4000);
  }

  void startAfterStopPlaysUntilStoppedAgain() {
    const auto wave = Tone(11025);
    MixerState state;
    StartLoop(state, *ReadLoopImage(wave.get()), kUntilStopped);
    Render(state, 2);
    StopLoopAfter(state, 100);
    StartLoop(state, *ReadLoopImage(wave.get()), kUntilStopped);  // a new start is not bound by the old stop
    const auto played = Render(state, 441);
    for (std::size_t i = 0; i < played.size(); ++i) QCOMPARE(played[i], FrameOf(*wave, int(i % 4)));
    QVERIFY(Sounding(state));
  }

  void idleIsSilent() {
    MixerState state;
    for (const Stereo& frame : Render(state, 100)) QCOMPARE(frame, (Stereo{0, 0}));
  }

  void replacingRestartsAtFirstFrame() {
    const auto first = Tone(11025);
    const auto second = Tone(666);
    MixerState state;
    StartLoop(state, *ReadLoopImage(first.get()), kUntilStopped);
    Render(state, 2);
    StartLoop(state, *ReadLoopImage(second.get()), kUntilStopped);
    const auto played = Render(state, 70);
    for (int i = 0; i < 70; ++i) QCOMPARE(played[std::size_t(i)], FrameOf(*second, i % 66));
  }

  void loopIsACopy() {
    auto wave = Tone(11025);
    MixerState state;
    StartLoop(state, *ReadLoopImage(wave.get()), kUntilStopped);
    QVERIFY(SynthesizeTone(*wave, 44100, 44100));  // rewriting the image does not touch what plays
    const auto played = Render(state, 4);
    QCOMPARE(played[1], (Stereo{0, 2000}));
  }

  void framesIn_data() {
    QTest::addColumn<int>("ms");
    QTest::addColumn<qint64>("frames");
    QTest::newRow("150 ms") << 150 << qint64(6615);
    QTest::newRow("1 ms") << 1 << qint64(44);
    QTest::newRow("1000 ms") << 1000 << qint64(44100);
    QTest::newRow("0 ms") << 0 << qint64(0);
    QTest::newRow("negative") << -5 << qint64(0);
    QTest::newRow("longest") << 2147483647 << qint64(94704028832);
  }

  void framesIn() {
    QFETCH(int, ms);
    QFETCH(qint64, frames);
    QCOMPARE(FramesIn(ms), frames);
  }

  void beepLastsExactlyItsFrames() {
    MixerState state;
    StartBeep(state, 666, FramesIn(150));
    std::vector<Stereo> played;
    for (int buffer = 0; buffer < 20; ++buffer) {
      const auto part = Render(state, 441);
      played.insert(played.end(), part.begin(), part.end());
    }
    int changes = 0;
    for (std::size_t i = 0; i < played.size(); ++i) {
      const Stereo frame = played[i];
      if (i < 6615) {
        QVERIFY(frame.left == 4000 || frame.left == -4000);
        QCOMPARE(frame.right, frame.left);
        if (i > 0 && frame.left != played[i - 1].left) ++changes;
      } else {
        QCOMPARE(frame, (Stereo{0, 0}));
      }
    }
    // 666 Hz for 150 ms is 99.9 periods: two level changes per period.
    QVERIFY2(changes >= 198 && changes <= 200, qPrintable(QString::number(changes)));
  }

  void beepPeriod_data() {
    QTest::addColumn<int>("frequency");
    QTest::addColumn<QList<int>>("levels");  // one period, in frames
    QTest::newRow("11025 Hz, 4 frames") << 11025 << QList<int>{4000, 4000, -4000, -4000};
    QTest::newRow("4410 Hz, 10 frames")
        << 4410 << QList<int>{4000, 4000, 4000, 4000, 4000, -4000, -4000, -4000, -4000, -4000};
  }

  void beepPeriod() {
    QFETCH(int, frequency);
    QFETCH(QList<int>, levels);
    MixerState state;
    StartBeep(state, frequency, 1000);
    const auto played = Render(state, 1000);
    for (std::size_t i = 0; i < played.size(); ++i) QCOMPARE(played[i].left, levels[qsizetype(i) % levels.size()]);
  }

  void beepAveragesFractionalPeriod() {
    MixerState state;
    StartBeep(state, 666, 44100);
    const auto played = Render(state, 44100);
    int rises = 0;
    for (std::size_t i = 1; i < played.size(); ++i) {
      if (played[i].left > 0 && played[i - 1].left < 0) ++rises;
    }
    QVERIFY2(rises >= 665 && rises <= 666, qPrintable(QString::number(rises)));
  }

  void newBeepReplacesOld() {
    MixerState state;
    StartBeep(state, 11025, 1000);
    Render(state, 3);
    StartBeep(state, 11025, 2);
    const auto played = Render(state, 4);
    QCOMPARE(played[0].left, 4000);  // starts again at the top of a period
    QCOMPARE(played[1].left, 4000);
    QCOMPARE(played[2], (Stereo{0, 0}));
  }

  void beepAndLoopAreSummedAndClamped() {
    auto wave = Tone(11025);
    wave->frames[0] = {32000, -32000};
    MixerState state;
    StartLoop(state, *ReadLoopImage(wave.get()), kUntilStopped);
    StartBeep(state, 11025, 4);
    const auto played = Render(state, 5);
    QCOMPARE(played[0], (Stereo{32767, -28000}));
    QCOMPARE(played[1], (Stereo{4000, 6000}));
    QCOMPARE(played[2], (Stereo{-6000, -4000}));
    QCOMPARE(played[3], (Stereo{-4000, -6000}));
    QCOMPARE(played[4], (Stereo{32000, -32000}));
  }
};

QTEST_APPLESS_MAIN(TestMixer)
#include "test_mixer.moc"
