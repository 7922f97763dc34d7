// Fitting the fixed-size window into a work area smaller than it: one uniform scale of its
// client area's places and fonts, chosen once when the window is built.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace quaverline {

// What a desktop typically adds around a window: a title bar and thin borders.
inline constexpr QMargins kFrameAllowance(4, 38, 4, 4);

// The largest scale, at most 1, at which a window of this size, its menu bar included, and its
// frame fit into the work area. Never below a quarter, so that the window stays usable.
double FitScale(QSize workArea, QSize window, QMargins frame = kFrameAllowance);

// A place scaled about its parent's origin; edges are scaled, so neighbours stay neighbours.
QRect ScaledRect(const QRect& place, double scale);

// Scales the places of every widget below root, and root's font and every font set on one of
// them, keeping root's own size.
void ScaleWidgetTree(QWidget* root, double scale);

}  // namespace quaverline
