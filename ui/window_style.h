// The window's style: Fusion everywhere, so that the coloured buttons show their colour, with a
// focus that shows wherever it is (a two-pixel ring on buttons, options, the list and its lines,
// the menu bar's item after Alt), and with the menu bar's overflow icons read only when first
// drawn. The menu bar fetches them when it is
// built, and reading those files makes Qt load every image-format plugin, although the bar of
// this fixed-size window never overflows.
#pragma once

#include <QProxyStyle>

namespace quaverline {

class WindowStyle final : public QProxyStyle {
 public:
  WindowStyle();

  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget = nullptr) const override;
};

}  // namespace quaverline
