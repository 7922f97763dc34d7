// One-period tone synthesis and the RIFF/WAVE header of the in-memory image.
#include "audio/wave_image.h"
#include "test_support.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

using namespace quaverline;

namespace {

std::vector<unsigned char> Bytes(const WaveImage& wave) {
  std::vector<unsigned char> bytes(sizeof wave);
  std::memcpy(bytes.data(), &wave, sizeof wave);
  return bytes;
}

std::int32_t Int32At(const std::vector<unsigned char>& bytes, std::size_t offset) {
  return std::int32_t(std::uint32_t(bytes[offset]) | std::uint32_t(bytes[offset + 1]) << 8 |
                      std::uint32_t(bytes[offset + 2]) << 16 | std::uint32_t(bytes[offset + 3]) << 24);
}

std::int16_t Int16At(const std::vector<unsigned char>& bytes, std::size_t offset) {
  return std::int16_t(std::uint16_t(bytes[offset] | bytes[offset + 1] << 8));
}

QByteArray IdAt(const std::vector<unsigned char>& bytes, std::size_t offset) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data() + offset), 4);
}

// Left and right of frame k (numbered from 1), read from the raw bytes.
QPair<int, int> FrameAt(const std::vector<unsigned char>& bytes, int k) {
  const std::size_t offset = 44 + std::size_t(k - 1) * 4;
  return {Int16At(bytes, offset), Int16At(bytes, offset + 2)};
}

using Frames = QList<QPair<int, int>>;

}  // namespace

class TestWaveImage : public QObject {
  Q_OBJECT

 private slots:
  void frameCount_data() {
    QTest::addColumn<double>("frequency");
    QTest::addColumn<int>("frames");
    QTest::newRow("44100 Hz") << 44100.0 << 1;
    QTest::newRow("11025 Hz") << 11025.0 << 4;
    QTest::newRow("1000 Hz, 44.1 rounds down") << 1000.0 << 44;
    QTest::newRow("440 Hz") << 440.0 << 100;
    QTest::newRow("666 Hz") << 666.0 << 66;
    QTest::newRow("349.2282 Hz") << 349.2282 << 126;
    QTest::newRow("8.82 Hz, just below 5000") << 8.82 << 5000;
    QTest::newRow("8.8 Hz, capped") << 8.8 << 5000;
    QTest::newRow("0.001 Hz, capped") << 0.001 << 5000;
    QTest::newRow("88199 Hz") << 88199.0 << 1;
  }

  void frameCount() {
    QFETCH(double, frequency);
    QFETCH(int, frames);
    auto wave = NewWaveImage();
    QVERIFY(SynthesizeTone(*wave, frequency, frequency));
    const auto bytes = Bytes(*wave);
    QCOMPARE(Int32At(bytes, 40), 4 * frames);
    QCOMPARE(Int32At(bytes, 4), 36 + 4 * frames);
  }

  void frames_data() {
    QTest::addColumn<double>("frequency");
    QTest::addColumn<Frames>("expected");  // (left, right) of frames 1, 2, ...
    QTest::newRow("44100 Hz") << 44100.0 << Frames{{2000, 0}};
    QTest::newRow("11025 Hz") << 11025.0 << Frames{{2000, 0}, {0, 2000}, {-2000, 0}, {0, -2000}};
    QTest::newRow("666 Hz, first pulse") << 666.0 << Frames{{2000, 0}, {1268, 0}, {321, 0}, {32, 0}, {1, 0}};
  }

  void frames() {
    QFETCH(double, frequency);
    QFETCH(Frames, expected);
    auto wave = NewWaveImage();
    QVERIFY(SynthesizeTone(*wave, frequency, frequency));
    const auto bytes = Bytes(*wave);
    for (int k = 1; k <= expected.size(); ++k) QCOMPARE(FrameAt(bytes, k), expected[k - 1]);
  }

  void pulseShapeAt666Hz() {
    auto wave = NewWaveImage();
    QVERIFY(SynthesizeTone(*wave, 666, 666));
    const auto bytes = Bytes(*wave);
    int firstRight = 0;
    for (int k = 1; k <= 66 && firstRight == 0; ++k) {
      if (FrameAt(bytes, k).second != 0) firstRight = k;
    }
    QCOMPARE(firstRight, 14);
    QCOMPARE(FrameAt(bytes, 14).second, 6);
    int highest = 0;
    for (int k = 1; k <= 66; ++k) {
      highest = std::max({highest, std::abs(FrameAt(bytes, k).first), std::abs(FrameAt(bytes, k).second)});
    }
    QCOMPARE(highest, 2000);
    QCOMPARE(FrameAt(bytes, 67), qMakePair(0, 0));  // beyond N nothing is written
  }

  void channelsFollowTheirOwnFrequency() {
    auto wave = NewWaveImage();
    QVERIFY(SynthesizeTone(*wave, 11025, 0));
    const auto bytes = Bytes(*wave);
    const Frames expected{{2000, 0}, {2000, 2000}, {2000, 0}, {2000, -2000}};
    for (int k = 1; k <= 4; ++k) QCOMPARE(FrameAt(bytes, k), expected[k - 1]);
  }

  void header_data() {
    QTest::addColumn<double>("frequency");
    QTest::addColumn<int>("frames");
    QTest::newRow("N = 44") << 1000.0 << 44;
    QTest::newRow("N = 100") << 440.0 << 100;
  }

  void header() {
    QFETCH(double, frequency);
    QFETCH(int, frames);
    auto wave = NewWaveImage();
    QVERIFY(SynthesizeTone(*wave, frequency, frequency));
    const auto bytes = Bytes(*wave);
    QCOMPARE(bytes.size(), std::size_t(20044));
    QCOMPARE(IdAt(bytes, 0), QByteArray("RIFF"));
    QCOMPARE(bytes[0], 0x52);
    QCOMPARE(Int32At(bytes, 4), 36 + 4 * frames);
    QCOMPARE(IdAt(bytes, 8), QByteArray("WAVE"));
    QCOMPARE(IdAt(bytes, 12), QByteArray("fmt "));
    QCOMPARE(Int32At(bytes, 16), 16);
    QCOMPARE(Int16At(bytes, 20), 1);
    QCOMPARE(Int16At(bytes, 22), 2);
    QCOMPARE(Int32At(bytes, 24), 44100);
    QCOMPARE(Int32At(bytes, 28), 176400);
    QCOMPARE(Int16At(bytes, 32), 4);
    QCOMPARE(Int16At(bytes, 34), 16);
    QCOMPARE(IdAt(bytes, 36), QByteArray("data"));
    QCOMPARE(Int32At(bytes, 40), 4 * frames);
  }

  void refusedLeavesImageUnchanged_data() {
    QTest::addColumn<double>("frequency");
    QTest::newRow("0 Hz") << 0.0;
    QTest::newRow("88200 Hz, N rounds to 0") << 88200.0;
    QTest::newRow("200000 Hz") << 200000.0;
    QTest::newRow("-440 Hz") << -440.0;
    QTest::newRow("-0.5 Hz") << -0.5;
    QTest::newRow("1e-6 Hz, N beyond 32 bits") << 1e-6;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("+inf") << std::numeric_limits<double>::infinity();
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity();
  }

  void refusedLeavesImageUnchanged() {
    QFETCH(double, frequency);
    auto wave = NewWaveImage();
    QVERIFY(SynthesizeTone(*wave, 440, 440));
    const auto before = Bytes(*wave);
    QVERIFY(!SynthesizeTone(*wave, frequency, frequency));
    QVERIFY(Bytes(*wave) == before);
  }

  void refusedSecondFrequencyLeavesImageUnchanged_data() {
    QTest::addColumn<double>("frequency2");
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("-inf") << -std::numeric_limits<double>::infinity();
    QTest::newRow("largest double: angular factor overflows") << std::numeric_limits<double>::max();
    QTest::newRow("-3e307: angular factor overflows") << -3e307;
  }

  void refusedSecondFrequencyLeavesImageUnchanged() {
    QFETCH(double, frequency2);
    auto wave = NewWaveImage();
    QVERIFY(SynthesizeTone(*wave, 440, 440));
    const auto before = Bytes(*wave);
    QVERIFY(!SynthesizeTone(*wave, 666, frequency2));
    QVERIFY(Bytes(*wave) == before);
  }

  void hugeSecondFrequencyStillStartsWithTheLeftPulse() {
    auto wave = NewWaveImage();
    QVERIFY(SynthesizeTone(*wave, 666, 2e307));
    QCOMPARE(FrameAt(Bytes(*wave), 1), qMakePair(2000, 0));
  }

  void staleFramesBeyondNStay() {
    auto wave = NewWaveImage();
    QVERIFY(SynthesizeTone(*wave, 440, 440));
    const auto older = Bytes(*wave);
    QVERIFY(SynthesizeTone(*wave, 1000, 1000));
    const auto bytes = Bytes(*wave);
    QCOMPARE(Int32At(bytes, 40), 176);
    for (int k = 45; k <= 100; ++k) QCOMPARE(FrameAt(bytes, k), FrameAt(older, k));
    QVERIFY(FrameAt(bytes, 2) != FrameAt(older, 2));  // frames 1..44 were rewritten
  }

  void buildRefusesOverflow_data() {
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("rate");
    QTest::addColumn<double>("bits");
    QTest::newRow("frames x channels beyond 32 bits") << 0x40000000 << 2 << 44100 << 16.0;
    QTest::newRow("data size + 36 beyond 32 bits") << 0x3FFFFFFF << 1 << 44100 << 16.0;
    QTest::newRow("channels beyond 16 bits") << 1 << 40000 << 44100 << 16.0;
    QTest::newRow("bytes per second beyond 32 bits") << 1 << 2 << 0x40000000 << 16.0;
    QTest::newRow("bits NaN") << 1 << 2 << 44100 << std::numeric_limits<double>::quiet_NaN();
  }

  void buildRefusesOverflow() {
    QFETCH(int, frames);
    QFETCH(int, channels);
    QFETCH(int, rate);
    QFETCH(double, bits);
    auto wave = NewWaveImage();
    QVERIFY(!BuildWaveImage(*wave, frames, channels, rate, bits));
    QVERIFY(Bytes(*wave) == Bytes(WaveImage{}));
  }
};

QTEST_APPLESS_MAIN(TestWaveImage)
#include "test_wave_image.moc"
