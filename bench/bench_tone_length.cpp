// Measures how long tones last in the stream the sound card really receives: sound-card loops
// (started and stopped around a sleep) and beeps, through DeviceSound and SDL's disk audio driver,
// with the sound layer's own blocking wait and with the program's wait that answers the desktop.
#include "audio/playback.h"
#include "audio/device_sound.h"
#include "captured_stream.h"
#include "ui/playback_wait.h"

#include <QGuiApplication>
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
Result Capture(const QString& path, DeviceSound::Wait wait, Play play) {
  double callMs = 0;
  {
    UseDiskAudio(path);
    DeviceSound sound;
    sound.SetWait(wait);
    if (!sound.WaitForDevice()) return {-1, -1, false};
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

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("capture.raw"));
  const QLocale locale = QLocale::c();
  auto wave = NewWaveImage();
  const std::pair<const char*, DeviceSound::Wait> waits[] = {{"blocking wait", &WaitUntil},
                                                          {"wait answering the desktop", &WaitAnsweringDesktop}};
  for (const auto& [name, wait] : waits) {
    std::printf("Sound-card loop of 666 Hz (66-frame period), duration field d, tone 2d, %s:\n", name);
    for (int field : {25, 75, 150, 500}) {
      std::int32_t stopflag = 0;
      const Result result = Capture(path, wait, [&](DeviceSound& sound) {
        PlayToneOnSoundcard(sound, *wave, 666, QString::number(field), locale, stopflag);
      });
      Report(qPrintable(QStringLiteral("loop, field %1 ms").arg(field)), 2 * field, result);
    }
    std::printf("Beep of 666 Hz, %s:\n", name);
    for (int ms : {50, 150, 300, 1000}) {
      const Result result = Capture(path, wait, [&](DeviceSound& sound) { sound.Beep(666, ms); });
      Report(qPrintable(QStringLiteral("beep %1 ms").arg(ms)), ms, result);
    }
  }
  return 0;
}
