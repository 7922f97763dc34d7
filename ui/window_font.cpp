#include "ui/window_font.h"

#include <QApplication>

namespace quaverline {

// The layout was made for an 8.25 pt sans-serif at 96 dpi; Liberation Sans has the same metrics
// class and stands in where the original face is missing. A bare "sans-serif" is the last resort
// only: on a system with the Liberation fonts alone, fontconfig may take Liberation Mono for it.
QFont WindowFont(int pixelSize, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                    QStringLiteral("Arial"), QStringLiteral("sans-serif")});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

void UseWindowFontEverywhere() { QApplication::setFont(WindowFont(kFontPixels, false)); }

}  // namespace quaverline
