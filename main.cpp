// Quaverline: play notes on a drawn piano keyboard and collect them as BASCOM Sound statements.
#include "audio/device_sound.h"
#include "ui/after_first_frame.h"
#include "ui/compositor_decorations.h"
#include "ui/form1.h"
#include "ui/playback_wait.h"
#include "ui/screen_fit.h"
#include "ui/window_font.h"
#include "ui/window_style.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quaverline"));
  QApplication::setDesktopFileName(QStringLiteral("io.github.quaverline.Quaverline"));
  QApplication::setStyle(new quaverline::WindowStyle);
  quaverline::UseWindowFontEverywhere();

  quaverline::DeviceSound sound;
  sound.SetWait(&quaverline::WaitAnsweringDesktop);
  quaverline::Form1 form(sound);
  if (!quaverline::DesktopDrawsTitleBar()) form.UseOwnTitleBar();
  new quaverline::ScreenFit(form);
  // The sound device opens once the window is up, off the window thread: neither the start nor
  // the first note waits for it, and that note plays into a stream that is already running.
  quaverline::AfterFirstFrame(form, [&sound] { sound.OpenInBackground(); });
  form.show();
  return app.exec();
}
