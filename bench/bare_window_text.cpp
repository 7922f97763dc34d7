// The bare window with one line of text: adds what the first text on screen costs any Qt
// program (the font configuration and a font loaded), to tell that apart from Quaverline's own.
#include "bare_window_size.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Bare window with text"));
  window.setFixedSize(kBareWindowSize);
  window.setCentralWidget(new QLabel(QStringLiteral("Sound Portb.0 , 150 , 349"), &window));
  window.show();
  return app.exec();
}
