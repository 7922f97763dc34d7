// The code list: a list box whose right button opens a menu without moving the selection.
#pragma once

#include <QListWidget>

namespace quaverline {

class CodeListBox : public QListWidget {
  Q_OBJECT
 public:
  using QListWidget::QListWidget;

  // The selected row, -1 when none; setting -1 clears the selection.
  int SelectedRow() const;
  void SelectRow(int row);

 signals:
  // A mouse button released over the list.
  void MouseUp(Qt::MouseButton button);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace quaverline
