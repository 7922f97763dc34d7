// Renders the main window to a PNG without a display, to look at it:
//   QT_QPA_PLATFORM=offscreen [QT_SCALE_FACTOR=2] render_window out.png [german] [piano]
// "piano" gives the focus to the piano's key F; else it stays in the empty code list.
#include "audio/device_sound.h"
#include "ui/form1.h"
#include "ui/piano_keys.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QMenuBar>
#include <QPixmap>
#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s out.png [german] [piano]\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setStyle(new quaverline::WindowStyle);
  quaverline::DeviceSound sound;
  quaverline::Form1 form(sound);
  const QStringList options = QApplication::arguments().mid(2);
  if (options.contains(QStringLiteral("german"))) form.mnuGerman_Click();
  form.show();
  form.activateWindow();
  QApplication::processEvents();
  if (options.contains(QStringLiteral("piano"))) {
    form.Piano->setFocus(Qt::TabFocusReason);
    form.Piano->SetCurrentPitch(5);
  }
  QApplication::processEvents();
  return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
