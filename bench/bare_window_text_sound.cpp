// The bare window with one line of text and Quaverline's sound layer open: every cost that is
// not the main window's own (Qt, the first text, loading and starting SDL2's audio at start).
#include "audio/device_sound.h"
#include "bare_window_size.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  quaverline::DeviceSound sound;
  sound.WaitForDevice();  // opens the device now, not at the first sound
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Bare window with text and sound"));
  window.setFixedSize(kBareWindowSize);
  window.setCentralWidget(new QLabel(QStringLiteral("Sound Portb.0 , 150 , 349"), &window));
  window.show();
  return app.exec();
}
