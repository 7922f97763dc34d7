#include "ui/backdrop.h"

#include "ui/control_table.h"
#include "ui/keyboard_picture.h"

#include <QPainter>

namespace quaverline {

Backdrop::Backdrop(QWidget* parent) : QWidget(parent), picture_(DrawKeyboardPicture()) {}

void Backdrop::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor face = palette().color(QPalette::Window);
  painter.fillRect(places::Shape1, Qt::white);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(places::Image1, picture_);
  painter.fillRect(places::Shape2, face);
  painter.fillRect(places::Shape3, face);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
  painter.drawLine(places::Line1);
}

}  // namespace quaverline
