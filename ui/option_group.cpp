#include "ui/option_group.h"

#include <QRadioButton>

namespace quaverline {

namespace {

// Still taken by a click and by the arrows, which Qt moves between the buttons of a group.
void SetTabStop(QRadioButton* option) { option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus); }

}  // namespace

OptionGroup::OptionGroup(QWidget* parent) : QWidget(parent) {}

void OptionGroup::KeepTabStopOnSelected() {
  for (QRadioButton* option : findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
    SetTabStop(option);
    connect(option, &QRadioButton::toggled, option, [option] { SetTabStop(option); });
  }
}

}  // namespace quaverline
