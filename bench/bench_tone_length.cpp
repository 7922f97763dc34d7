// Measures how long tones last in the stream the sound card really receives: sound-card loops
// (started and stopped around a sleep) and beeps, through SdlSound and SDL's disk audio driver.
#include "audio/playback.h"
#include "audio/sdl_sound.h"
#include "captured_stream.h"

#include <QLocale>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

using namespace quaverline;

namespace {

constexpr int kTailMs = 100;  // lets the device write the end of the tone before it closes

struct Result {
  double lengthMs;
  bool clean;
};

template <typename Play>
Result Capture(const QString& path, Play play) {
  {
    UseDiskAudio(path);
    SdlSound sound;
    if (!sound.HasDevice()) return {-1, false};
    play(sound);
    sound.Sleep(kTailMs);
  }
  const CapturedStream stream = CapturedStream::Read(path);
  return {stream.SoundingSpan() * 1000.0 / kSampleRate, stream.FirstSounding() >= 0};
}

void Report(const char* what, int expectedMs, const Result& result) {
  if (!result.clean) {
    std::printf("%-28s expected %5d ms: nothing captured\n", what, expectedMs);
    return;
  }
  std::printf("%-28s expected %5d ms, captured %8.2f ms, error %+7.2f ms\n", what, expectedMs, result.lengthMs,
              result.lengthMs - expectedMs);
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
