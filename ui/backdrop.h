// The client area's drawn elements, bottom to top: Shape1, the keyboard picture Image1, the
// margin covers Shape2 and Shape3, and the rule Line1. Controls lie above it.
#pragma once

#include <QImage>
#include <QWidget>

namespace quaverline {

class Backdrop : public QWidget {
  Q_OBJECT
 public:
  explicit Backdrop(QWidget* parent = nullptr);
  // Draws the layout at this scale, for a window shrunk to fit a small screen.
  void SetScale(double scale);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The keyboard drawn for a screen of that device pixel ratio, kept until the ratio changes.
  const QImage& SharpPicture(qreal ratio);

  QImage picture_;
  QImage sharp_;
  double scale_ = 1.0;
};

}  // namespace quaverline
