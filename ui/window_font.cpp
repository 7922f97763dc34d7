#include "ui/window_font.h"

#include <QApplication>
#include <QFontDatabase>

namespace quaverline {

namespace {

// The layout was made for an 8.25 pt MS Sans Serif at 96 dpi. Windows ships that face as a bitmap
// font, which comes in a few fixed sizes only (8.25 pt is drawn at 13 px) and blurs when scaled,
// and its outline twin as Microsoft Sans Serif; Liberation Sans has the same metrics class and
// stands in on Linux. A bare "sans-serif" is the last resort only: on a system with the Liberation
// fonts alone, fontconfig may take Liberation Mono for it.
constexpr const char* kFaces[] = {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial"};

}  // namespace

QString WindowFontFamily() {
  for (const char* face : kFaces) {
    const QString family = QString::fromLatin1(face);
    if (QFontDatabase::hasFamily(family) && QFontDatabase::isSmoothlyScalable(family)) return family;
  }
  return QStringLiteral("sans-serif");
}

QFont WindowFont(int pixelSize, bool bold) {
  QFont font;
  font.setFamilies({WindowFontFamily(), QStringLiteral("sans-serif")});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

void UseWindowFontEverywhere() { QApplication::setFont(WindowFont(kFontPixels, false)); }

}  // namespace quaverline
