// Writes the window icon as a PNG for packaging: make_icon <output.png> [size]
#include "ui/window_icon.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: make_icon <output.png> [size]\n");
    return 2;
  }
  const int size = argc == 3 ? std::atoi(argv[2]) : 32;
  if (size < 1 || size > 1024) {
    std::fprintf(stderr, "make_icon: size must be 1 to 1024\n");
    return 2;
  }
  if (!quaverline::DrawWindowIcon(size).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "make_icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
