// Quaverline: play notes on a drawn piano keyboard and collect them as BASCOM Sound statements.
#include "audio/sdl_sound.h"
#include "ui/form1.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quaverline"));
  QApplication::setDesktopFileName(QStringLiteral("io.github.quaverline.Quaverline"));
  // One style everywhere, so the coloured buttons show their colour.
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

  quaverline::SdlSound sound;
  quaverline::Form1 form(sound);
  form.show();
  return app.exec();
}
