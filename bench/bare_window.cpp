// The floor for start-up time and memory of any Qt Widgets program: an empty main window of
// Quaverline's size, shown, and nothing else.
#include "bare_window_size.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Bare window"));
  window.setFixedSize(kBareWindowSize);
  window.show();
  return app.exec();
}
