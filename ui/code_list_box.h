// The code list: a list box whose right button, Menu key and Shift+F10 open a menu without moving
// the selection, and which shows its focus also when empty.
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
  // The Menu key or Shift+F10.
  void MenuKey();

 private:
  void TellCurrentLine();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quaverline
