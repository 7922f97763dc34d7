// Where Quaverline's start-up goes: the steps of its main(), each timed and with the growth of
// resident memory it causes, up to the first painted frame, and then what opening the sound device
// adds.
// Run on the same display as the start-up probe; loading the libraries before main() is not
// included.
#include "audio/device_sound.h"
#include "ui/form1.h"
#include "ui/window_style.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

long RssKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// Notes the first paint event anywhere in the program.
class PaintSpy : public QObject {
 public:
  bool painted = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return QObject::eventFilter(watched, event);
  }
};

class Steps {
 public:
  Steps() : last_(Clock::now()), lastRss_(RssKb()) {
    std::printf("%-34s %9s %11s %11s\n", "step", "ms", "+RSS MiB", "RSS MiB");
    std::printf("%-34s %9s %11s %11.1f\n", "before QApplication", "", "", double(lastRss_) / 1024);
  }
  void Done(const char* step) {
    const auto now = Clock::now();
    const long rss = RssKb();
    std::printf("%-34s %9.1f %11.1f %11.1f\n", step, std::chrono::duration<double, std::milli>(now - last_).count(),
                double(rss - lastRss_) / 1024, double(rss) / 1024);
    last_ = Clock::now();
    lastRss_ = rss;
  }

 private:
  Clock::time_point last_;
  long lastRss_;
};

}  // namespace

int main(int argc, char* argv[]) {
  Steps steps;
  QApplication app(argc, argv);
  steps.Done("QApplication");
  QApplication::setStyle(new quaverline::WindowStyle);
  steps.Done("window style");
  quaverline::DeviceSound sound;
  steps.Done("DeviceSound (opens after the first frame)");
  auto form = std::make_unique<quaverline::Form1>(sound);
  steps.Done("Form1 built");
  PaintSpy spy;
  app.installEventFilter(&spy);
  form->show();
  steps.Done("show()");
  while (!spy.painted) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  QCoreApplication::processEvents();
  steps.Done("first frame painted and flushed");
  // Not part of the start: the program opens the device off the window thread from here on; a
  // click waits for that only if it comes sooner.
  sound.OpenInBackground();
  sound.WaitForDevice();
  steps.Done("sound device open (background)");
  return 0;
}
