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

namespace {

QFont ScaledFont(QFont font, double scale) {
  if (font.pixelSize() > 0)
    font.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * scale))));
  else
    font.setPointSizeF(font.pointSizeF() * scale);
  return font;
}

void ScaleChildren(QWidget* parent, double scale) {
  for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;
    child->setGeometry(ScaledRect(child->geometry(), scale));
    if (child->testAttribute(Qt::WA_SetFont)) child->setFont(ScaledFont(child->font(), scale));
    ScaleChildren(child, scale);
  }
}

}  // namespace

void ScaleWidgetTree(QWidget* root, double scale) {
  if (scale == 1.0) return;
  root->setFont(ScaledFont(root->font(), scale));
  ScaleChildren(root, scale);
}

}  // namespace quaverline
