#include "ui/window_fit.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace quaverline {

double FitScale(QSize workArea, QSize window, QMargins frame) {
  if (window.isEmpty()) return 1.0;
  const double across = double(workArea.width() - frame.left() - frame.right()) / window.width();
  const double down = double(workArea.height() - frame.top() - frame.bottom()) / window.height();
  return std::clamp(std::min(across, down), 0.25, 1.0);
}

QRect ScaledRect(const QRect& place, double scale) {
  const auto edge = [scale](int at) { return int(std::lround(at * scale)); };
  // A line one pixel thin stays one pixel thin rather than vanishing.
  const auto span = [](int from, int to, int unscaled) { return unscaled > 0 ? std::max(1, to - from) : 0; };
  const int left = edge(place.x()), top = edge(place.y());
  return QRect(left, top, span(left, edge(place.x() + place.width()), place.width()),
               span(top, edge(place.y() + place.height()), place.height()));
}

QRect WorkArea(const QRect& screen, const QRect& available, bool wayland) {
  if (!wayland || available != screen) return available;
  return screen.adjusted(0, std::min(kTopBarAllowance, screen.height() / 4), 0, 0);
}

namespace {

QFont ScaledFont(QFont font, double scale) {
  if (font.pixelSize() > 0)
    font.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * scale))));
  else
    font.setPointSizeF(font.pointSizeF() * scale);
  return font;
}

}  // namespace

TreeLayout::TreeLayout(QWidget* root) : root_(root), rootFont_(root->font()) {
  for (QWidget* widget : root->findChildren<QWidget*>()) {
    if (widget->isWindow()) continue;
    Place place{widget, widget->geometry(), std::nullopt};
    if (widget->testAttribute(Qt::WA_SetFont)) place.font = widget->font();
    places_.push_back(place);
  }
}

void TreeLayout::Apply(double scale) const {
  if (!root_) return;
  root_->setFont(ScaledFont(rootFont_, scale));
  for (const Place& place : places_) {
    if (!place.widget) continue;
    place.widget->setGeometry(ScaledRect(place.geometry, scale));
    if (place.font) place.widget->setFont(ScaledFont(*place.font, scale));
  }
}

}  // namespace quaverline
