// Fitting the fixed-size window into a work area smaller than it: one uniform scale of its
// client area's places and fonts, chosen again whenever the screen changes.
#pragma once

#include <QFont>
#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <optional>
#include <vector>

namespace quaverline {

// What a desktop typically adds around a window where it cannot be asked: a title bar and thin
// borders.
inline constexpr QMargins kFrameAllowance(4, 38, 4, 4);
// Where a Wayland compositor reports no work area: room for a desktop's top bar (GNOME's is 32 px).
inline constexpr int kTopBarAllowance = 32;

// The largest scale, at most 1, at which something of this size and its frame fit into the
// room given. Never below a quarter, so that the window stays usable.
double FitScale(QSize workArea, QSize window, QMargins frame);

// The part of a screen the window may take: its work area, or on Wayland, which reports none
// (the work area is the whole screen), the screen less a top bar.
QRect WorkArea(const QRect& screen, const QRect& available, bool wayland);

// A place scaled about its parent's origin; edges are scaled, so neighbours stay neighbours.
QRect ScaledRect(const QRect& place, double scale);

// The places of every widget below a root, and the root's font and every font set on one of
// them, as built: the tree can be fitted again at another scale, always from these.
class TreeLayout {
 public:
  explicit TreeLayout(QWidget* root);
  // Sets every place and font scaled from the built ones, keeping root's own size.
  void Apply(double scale) const;

 private:
  struct Place {
    QPointer<QWidget> widget;
    QRect geometry;
    std::optional<QFont> font;  // where one was set on it
  };
  QPointer<QWidget> root_;
  QFont rootFont_;
  std::vector<Place> places_;
};

}  // namespace quaverline
