#include "ui/window_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QPixmap>
#include <algorithm>
#include <vector>

namespace quaverline {

namespace {

// The drawing is laid out on a 32 x 32 grid and scaled to the size asked for.
constexpr qreal kGrid = 32.0;

const QColor kInk(40, 40, 40);
const QColor kYellow(255, 214, 0);
const QColor kShade(230, 170, 0);

// A closed outline through the given grid points.
QPainterPath Outline(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  path.closeSubpath();
  return path;
}

void DrawSpeaker(QPainter& p, qreal pen) {
  p.setPen(QPen(kInk, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

  // The magnet housing behind the cone.
  p.setBrush(Qt::white);
  p.drawRect(QRectF(2, 11, 6, 10));

  // The cone opens to the right; its lower half is shaded for depth.
  const QPainterPath cone = Outline({{8, 11}, {17, 4}, {17, 28}, {8, 21}});
  p.setBrush(kYellow);
  p.drawPath(cone);

  p.setPen(Qt::NoPen);
  p.setBrush(kShade);
  p.drawPath(Outline({{8, 16}, {17, 16}, {17, 28}, {8, 21}}));

  // A white highlight along the upper edge of the cone.
  p.setBrush(Qt::white);
  p.drawPath(Outline({{10, 12.5}, {15.5, 8}, {15.5, 11}, {10, 14.5}}));

  // Outline again on top of the fills.
  p.setPen(QPen(kInk, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(cone);
}

// Arcs around the cone's mouth, each spanning 80 degrees; small icons get fewer, wider-spaced ones.
void DrawSoundLines(QPainter& p, qreal pen, bool small) {
  p.setPen(QPen(kInk, pen, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  const std::vector<qreal> radii = small ? std::vector<qreal>{6.5, 12.5} : std::vector<qreal>{6, 10, 14};
  for (const qreal r : radii) {
    p.drawArc(QRectF(15 - r, 16 - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
  }
}

}  // namespace

QImage DrawWindowIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal scale = size / kGrid;
  p.scale(scale, scale);
  // Keep strokes at least one device pixel wide at small sizes.
  const qreal pen = std::max(1.5, 1.0 / scale);
  DrawSpeaker(p, pen);
  const bool small = size < 24;
  DrawSoundLines(p, small ? 2.5 : 2.0, small);
  return image;
}

QIcon WindowIcon() {
  QIcon icon;
  // Larger sizes come from the installed icon theme; drawing them here only slows the start.
  for (const int size : {16, 24, 32, 48, 64}) {
    icon.addPixmap(QPixmap::fromImage(DrawWindowIcon(size)));
  }
  return icon;
}

}  // namespace quaverline
