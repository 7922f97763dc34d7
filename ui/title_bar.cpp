#include "ui/title_bar.h"

#include "ui/compositor_decorations.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace quaverline {

namespace {
constexpr int kButtonSize = 18, kMargin = 6;
}

TitleBar::TitleBar(QWidget* window) : QWidget(window) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAccessibleName(QStringLiteral("title bar"));
}

QRect TitleBar::CloseButton() const {
  return QRect(width() - kMargin - kButtonSize, (kHeight - kButtonSize) / 2, kButtonSize, kButtonSize);
}

void TitleBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool active = window()->isActiveWindow();
  drawnActive_ = active;
  painter.fillRect(rect(), palette().color(QPalette::Window).darker(active ? 112 : 104));
  const QColor text = palette().color(active ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);

  const QRect icon(kMargin, (kHeight - 20) / 2, 20, 20);
  window()->windowIcon().paint(&painter, icon);

  QFont font = painter.font();
  font.setPixelSize(13);
  painter.setFont(font);
  painter.setPen(text);
  const QRect titleBox(icon.right() + kMargin, 0, CloseButton().left() - icon.right() - 2 * kMargin, kHeight);
  painter.drawText(titleBox, Qt::AlignCenter,
                   painter.fontMetrics().elidedText(window()->windowTitle(), Qt::ElideRight, titleBox.width()));

  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(text, 2));
  const QRectF cross = QRectF(CloseButton()).adjusted(5, 5, -5, -5);
  painter.drawLine(cross.topLeft(), cross.bottomRight());
  painter.drawLine(cross.bottomLeft(), cross.topRight());
  // The bar's lower edge against the menu bar.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawLine(0, height() - 1, width(), height() - 1);
}

bool TitleBar::event(QEvent* event) {
  // The window passes these on to its children, which Qt repaints only where the palette's active
  // and inactive colours differ.
  if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) update();
  return QWidget::event(event);
}

void TitleBar::mousePressEvent(QMouseEvent* event) {
  // The right button opens the compositor's window menu, as on the desktop's own title bars.
  if (event->button() == Qt::RightButton && window()->windowHandle()) {
    ShowWindowMenu(*window()->windowHandle(), mapTo(window(), event->position().toPoint()));
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  pressedOnClose_ = CloseButton().contains(event->position().toPoint());
  // Anywhere else the bar moves the window, as the desktop's own would.
  if (!pressedOnClose_ && window()->windowHandle()) window()->windowHandle()->startSystemMove();
}

void TitleBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (pressedOnClose_ && CloseButton().contains(event->position().toPoint())) window()->close();
  pressedOnClose_ = false;
}

WindowEdge::WindowEdge(QWidget* window) : QWidget(window) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  setGeometry(window->rect());
  window->installEventFilter(this);
  raise();
}

bool WindowEdge::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) {
    setGeometry(parentWidget()->rect());
    raise();
  }
  return false;
}

void WindowEdge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Shadow));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace quaverline
