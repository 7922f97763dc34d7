// Measures how long tones last in the stream the sound card really receives: sound-card loops
// (started and stopped around a sleep) and beeps, through SdlSound and SDL's disk audio driver.
#include "audio/playback.h"
#include "audio/sdl_sound.h"
#include "captured_stream.h"

#include <QLocale>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <memory>

using namespace quaverline;

namespace {

struct Result {
  double lengthMs;
  double callMs;  // how long the playing call blocked
  bool clean;
};

template <typename Play>
Result Capture(const QString& path, Play play) {
  double callMs = 0;
  {
    UseDiskAudio(path);
    SdlSound sound;
    if (!sound.HasDevice()) return {-1, -1, false};
    const auto start = std::chrono::steady_clock::now();
    play(sound);
    callMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    Drain(sound);
  }
  const CapturedStream stream = CapturedStream::Read(path);
  return {stream.SoundingSpan() * 1000.0 / kSampleRate, callMs, stream.FirstSounding() >= 0};
}

void Report(const char* what, int expectedMs, const Result& result) {
  if (!result.clean) {
    std::printf("%-22s expected %5d ms: nothing captured\n", what, expectedMs);
    return;
  }
  std::printf("%-22s expected %5d ms, captured %8.2f ms, error %+6.2f ms (call blocked %8.2f ms)\n", what,
              expectedMs, result.lengthMs, result.lengthMs - expectedMs, result.callMs);
}

}  // namespace

int main() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("capture.raw"));
  const QLocale locale = QLocale::c();
  auto wave = std::make_unique<WaveImage>(WaveImage{});
  std::printf("Sound-card loop of 666 Hz (66-frame period), duration field d, tone 2d:\n");
  for (int field : {25, 75, 150, 500}) {
    std::int32_t stopflag = 0;
    const Result result = Capture(path, [&](SdlSound& sound) {
      PlayToneOnSoundcard(sound, *wave, 666, QString::number(field), locale, stopflag);
    });
    Report(qPrintable(QStringLiteral("loop, field %1 ms").arg(field)), 2 * field, result);
  }
  std::printf("Beep of 666 Hz:\n");
  for (int ms : {50, 150, 300, 1000}) {
    const Result result = Capture(path, [&](SdlSound& sound) { sound.Beep(666, ms); });
    Report(qPrintable(QStringLiteral("beep %1 ms").arg(ms)), ms, result);
  }
  return 0;
}
