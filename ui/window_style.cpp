#include "ui/window_style.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>

namespace quaverline {

namespace {

// An icon of the base style, fetched from it the first time it is drawn or measured.
class DeferredIcon final : public QIconEngine {
 public:
  DeferredIcon(QStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  bool isNull() override { return Icon().isNull(); }
  QIconEngine* clone() const override { return new DeferredIcon(*this); }

 private:
  const QIcon& Icon() {
    if (!fetched_ && style_) icon_ = style_->standardIcon(which_);
    fetched_ = true;
    return icon_;
  }

  QPointer<QStyle> style_;
  QStyle::StandardPixmap which_;
  bool fetched_ = false;
  QIcon icon_;
};

}  // namespace

WindowStyle::WindowStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

QIcon WindowStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const {
  if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton)
    return QIcon(new DeferredIcon(baseStyle(), icon));
  return QProxyStyle::standardIcon(icon, option, widget);
}

void WindowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
  if (element != PE_FrameFocusRect) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  // Fusion draws the focus only after a key has moved it, and in a faint colour; the window's
  // focus starts in the list, before any key.
  const QColor colour = option->palette.color(
      (option->state & State_Selected) ? QPalette::HighlightedText : QPalette::Highlight);
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setBrush(Qt::NoBrush);
  painter->setPen(QPen(colour, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter->drawRect(QRectF(option->rect).adjusted(1, 1, -1, -1));
  painter->restore();
}

void WindowStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  // Fusion marks a focused button by its outline's colour alone.
  if (element == CE_PushButton && (option->state & State_HasFocus)) {
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(*option);
    focus.rect = proxy()->subElementRect(SE_PushButtonFocusRect, option, widget);
    proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
  }
  // After Alt the menu bar holds the focus on one item, which Fusion marks only once it is open.
  const bool keyboardItem = element == CE_MenuBarItem && (option->state & State_Selected) &&
                            !(option->state & State_Sunken) && widget && widget->hasFocus();
  if (keyboardItem) {
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(*option);
    focus.state &= ~State_Selected;
    proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
  }
}

}  // namespace quaverline
