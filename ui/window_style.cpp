#include "ui/window_style.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>

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

}  // namespace quaverline
