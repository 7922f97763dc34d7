#include "ui/code_list_box.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

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

void CodeListBox::keyPressEvent(QKeyEvent* event) {
  const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
  if (event->key() == Qt::Key_Menu || shiftF10) {
    event->accept();
    emit MenuKey();
    return;
  }
  QListWidget::keyPressEvent(event);
}

void CodeListBox::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  // After the list's own focus event, which Qt sends once this returns: a screen reader presents
  // the newer of two focus events, and so says the current line rather than only the list.
  QMetaObject::invokeMethod(this, [this] { TellCurrentLine(); }, Qt::QueuedConnection);
}

void CodeListBox::TellCurrentLine() {
  if (!hasFocus() || currentRow() < 0) return;
  QAccessibleEvent focus(this, QAccessible::Focus);
  focus.setChild(currentRow());
  QAccessible::updateAccessibility(&focus);
}

void CodeListBox::paintEvent(QPaintEvent* event) {
  QListWidget::paintEvent(event);
  // With no line to carry it, the focus is drawn around the empty list's inside.
  if (count() > 0 || !hasFocus()) return;
  QPainter painter(viewport());
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.rect = viewport()->rect().adjusted(1, 1, -1, -1);
  option.backgroundColor = palette().color(QPalette::Base);
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

}  // namespace quaverline
