// A transparent click area over one key of the keyboard picture.
#pragma once

#include <QWidget>

namespace quaverline {

class KeyAreaWidget : public QWidget {
  Q_OBJECT
 public:
  explicit KeyAreaWidget(QWidget* parent);

 signals:
  // A left press and release both on this area.
  void Click();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace quaverline
