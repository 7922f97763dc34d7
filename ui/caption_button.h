// A push button whose caption wraps onto several lines when it is too long for one.
#pragma once

#include <QPushButton>

namespace quaverline {

class CaptionButton : public QPushButton {
  Q_OBJECT
 public:
  using QPushButton::QPushButton;

  // Gives the button a solid face colour (the style draws it over the face).
  void SetFaceColour(const QColor& colour);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quaverline
