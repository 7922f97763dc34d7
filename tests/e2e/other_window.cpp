// A small window of another program, which takes the focus when it appears, as any window the
// user opens does. Shown until it is ended.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("another window"));
  window.resize(160, 90);
  window.show();
  return app.exec();
}
