// "End" or the close button while a key's note sounds ends the program at once: the process exits
// with status 0 from inside the note, the sound is stopped and the key appends nothing.
//   test_end_program end|close
#include "form_fixture.h"

#include <QAction>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

using namespace quaverline;

namespace {

FormFixture* fixture = nullptr;

void CheckAtExit() {
  const bool appended = fixture->form->List1->count() != 0 || fixture->form->List2->count() != 0;
  const bool sounding = fixture->sound.looping;
  if (appended || sounding) {
    std::fprintf(stderr, "after the end: %s%s\n", appended ? "lines were appended " : "",
                 sounding ? "a tone is still looping" : "");
    std::_Exit(4);
  }
  std::fprintf(stderr, "ended inside the note, nothing appended, sound stopped\n");
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const bool viaClose = argc > 1 && QByteArray(argv[1]) == "close";
  FormFixture f;
  fixture = &f;
  // The real exit, not the fixture's stand-in.
  f.form->ExitProcess = [] { std::exit(0); };
  std::atexit(CheckAtExit);
  f.form->show();
  QTimer::singleShot(100, f.form.get(), [&f, viaClose] {
    if (viaClose)
      f.form->close();
    else
      f.form->mnuBeenden->trigger();
  });
  QTimer::singleShot(0, f.form.get(), [&f] {
    f.ClickKey("F");
    std::fprintf(stderr, "the key's handler went on after the end\n");
    std::_Exit(3);
  });
  app.exec();
  std::fprintf(stderr, "the event loop returned instead of the program ending\n");
  return 5;
}
