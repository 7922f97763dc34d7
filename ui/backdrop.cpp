#include "ui/backdrop.h"

#include "ui/control_table.h"
#include "ui/keyboard_picture.h"

#include <QPainter>

namespace quaverline {

Backdrop::Backdrop(QWidget* parent) : QWidget(parent), picture_(DrawKeyboardPicture()) {}

const QImage& Backdrop::SharpPicture(qreal ratio) {
  if (sharp_.isNull() || sharp_.devicePixelRatio() != ratio) {
    const QRect& box = places::Image1;
    sharp_ = DrawKeyboardPicture(box.width() * ratio / picture::kPictureWidth,
                                 box.height() * ratio / picture::kPictureHeight);
    sharp_.setDevicePixelRatio(ratio);
  }
  return sharp_;
}

void Backdrop::SetScale(double scale) {
  scale_ = scale;
  update();
}

void Backdrop::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.scale(scale_, scale_);
  const QColor face = palette().color(QPalette::Window);
  painter.fillRect(places::Shape1, Qt::white);
  // At 1x the bitmap is stretched over Image1's box; on a scaled screen or window the keyboard is
  // drawn for the screen's pixels instead, which keeps its lines and names sharp.
  const qreal ratio = painter.device()->devicePixelRatio() * scale_;
  if (ratio == 1) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(places::Image1, picture_);
  } else {
    painter.drawImage(places::Image1.topLeft(), SharpPicture(ratio));
  }
  painter.fillRect(places::Shape2, face);
  painter.fillRect(places::Shape3, face);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
  painter.drawLine(places::Line1);
}

}  // namespace quaverline
