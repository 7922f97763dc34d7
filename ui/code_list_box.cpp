#include "ui/code_list_box.h"

#include <QMouseEvent>

namespace quaverline {

int CodeListBox::SelectedRow() const {
  const auto selected = selectedItems();
  return selected.isEmpty() ? -1 : row(selected.first());
}

void CodeListBox::SelectRow(int row) {
  if (row < 0 || row >= count()) {
    clearSelection();
    setCurrentRow(-1);
    return;
  }
  setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void CodeListBox::mousePressEvent(QMouseEvent* event) {
  // The item views select on any button; the right one must leave the selection alone.
  if (event->button() == Qt::RightButton) {
    event->accept();
    return;
  }
  QListWidget::mousePressEvent(event);
}

void CodeListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) QListWidget::mouseReleaseEvent(event);
  emit MouseUp(event->button());
}

}  // namespace quaverline
