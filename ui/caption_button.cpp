#include "ui/caption_button.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace quaverline {

void CaptionButton::SetFaceColour(const QColor& colour) {
  QPalette face = palette();
  face.setColor(QPalette::Button, colour);
  setPalette(face);
}

void CaptionButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  style()->drawControl(QStyle::CE_PushButton, &option, &painter, this);
  const QRect box = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text());
}

}  // namespace quaverline
