// The window's font, and the same font for the windows of its own that Qt opens: popup menus and
// the duration dialog take the application's font, not the main window's.
#pragma once

#include <QFont>
#include <QString>

namespace quaverline {

inline constexpr int kFontPixels = 11;      // 8.25 pt
inline constexpr int kHelpFontPixels = 16;  // 12 pt

// The first of the faces the layout was made for that is installed as an outline font.
QString WindowFontFamily();

QFont WindowFont(int pixelSize, bool bold);

// Makes the window's font the application's, so that menus and dialogs match the window.
void UseWindowFontEverywhere();

}  // namespace quaverline
