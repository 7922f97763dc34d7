// Processor share while a note is held: the main window plays the key "F" (a 300 ms note)
// through a sound layer, and the process's CPU time (every thread, SDL's audio thread included)
// is set against the wall-clock time of the click. The same is taken for 300 ms of the event loop
// between two notes with the device open: what the audio driver costs while silent, plus the
// repaint of the code list that the last note added a line to.
#include "audio/device_sound.h"
#include "ui/form1.h"
#include "ui/window_style.h"
#include "ui/key_table.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

using namespace quaverline;

namespace {

constexpr int kNotes = 10;
constexpr int kBetweenMs = 300;  // as long as a note

// A sound layer without any device: what the window's own note handling costs.
class NoDevice final : public SoundPlatform {
 public:
  bool StartLoop(const LoopImage&, std::int32_t) override { return false; }
  void StopLoop() override {}
  void Beep(std::int32_t, std::int32_t durationMs) override { Sleep(durationMs); }
  void Sleep(std::int32_t milliseconds) override {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

double CpuMs(int who) {
  rusage usage{};
  getrusage(who, &usage);
  const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

struct Share {
  double processPercent;  // all threads
  double mainPercent;     // the main thread alone
};

Share Measure(const std::function<void()>& work) {
  const double process = CpuMs(RUSAGE_SELF);
  const double main = CpuMs(RUSAGE_THREAD);
  const auto start = std::chrono::steady_clock::now();
  work();
  const double wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  return {100.0 * (CpuMs(RUSAGE_SELF) - process) / wallMs, 100.0 * (CpuMs(RUSAGE_THREAD) - main) / wallMs};
}

void RunEventLoop() {
  QEventLoop loop;
  QTimer::singleShot(kBetweenMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

int KeyF() {
  for (std::size_t k = 0; k < kKeyAreas.size(); ++k) {
    if (kKeyAreas[k].noteName && std::string_view(kKeyAreas[k].noteName) == "F") return int(k);
  }
  return -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Max(const std::vector<double>& values) { return *std::max_element(values.begin(), values.end()); }

void Row(const char* layer, const char* what, const std::vector<Share>& shares) {
  std::vector<double> process, main;
  for (const Share& share : shares) {
    process.push_back(share.processPercent);
    main.push_back(share.mainPercent);
  }
  std::printf("%-22s %-14s %7.2f %7.2f   %7.2f %7.2f\n", layer, what, Median(process), Max(process), Median(main),
              Max(main));
}

void Bench(const char* layer, SoundPlatform& sound) {
  Form1 form(sound);
  form.show();
  RunEventLoop();  // the first paint and whatever start-up work the window posts
  const int key = KeyF();
  form.KeyArea_Click(key);  // unmeasured: the first note's one-off costs

  std::vector<Share> between, notes;
  for (int i = 0; i < kNotes; ++i) {
    between.push_back(Measure(RunEventLoop));
    notes.push_back(Measure([&] { form.KeyArea_Click(key); }));
  }
  Row(layer, "between notes", between);
  Row(layer, "note F 300 ms", notes);
}

void BenchSdl(const char* driver, const QString& diskFile = {}) {
  qputenv("SDL_AUDIODRIVER", driver);
  if (!diskFile.isEmpty()) qputenv("SDL_DISKAUDIOFILE", diskFile.toLocal8Bit());
  DeviceSound sound;
  const QString layer = QStringLiteral("SDL %1 driver").arg(QString::fromLatin1(driver));
  if (!sound.WaitForDevice()) {
    std::printf("%-22s could not open a device\n", qPrintable(layer));
    return;
  }
  Bench(qPrintable(layer), sound);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setStyle(new quaverline::WindowStyle);
  std::printf("CPU time / wall time in %% of one core, %d measurements each (median, max):\n", kNotes);
  std::printf("%-22s %-14s %15s   %15s\n", "sound layer", "", "whole process", "main thread");
  std::printf("%-22s %-14s %7s %7s   %7s %7s\n", "", "", "median", "max", "median", "max");
  {
    NoDevice none;
    Bench("no device", none);
  }
  BenchSdl("dummy");
  QTemporaryDir dir;
  BenchSdl("disk", dir.filePath(QStringLiteral("capture.raw")));
  return 0;
}
