// What the window tells a screen reader when the list changes, in the window's language; spoken,
// never drawn. A note's or "add to list"'s line, and a line whose duration changed, are told as
// they read.
#pragma once

#include "ui/captions.h"

#include <QString>

namespace quaverline {

inline constexpr AccessibleText kLineDeleted{"deleted: %1", "gelöscht: %1"};
inline constexpr AccessibleText kAllLinesDeleted{"all lines deleted", "alle Zeilen gelöscht"};
inline constexpr AccessibleText kOneLineCopied{"1 line copied to the clipboard", "1 Zeile in die Zwischenablage kopiert"};
inline constexpr AccessibleText kLinesCopied{"%1 lines copied to the clipboard",
                                             "%1 Zeilen in die Zwischenablage kopiert"};

QString DeletedMessage(const QString& line, Language language);
QString CopiedMessage(int lines, Language language);

}  // namespace quaverline
