#include "ui/option_group.h"

#include <QAccessibleWidget>
#include <QRadioButton>

namespace quaverline {

namespace {

QAccessibleInterface* GroupInterface(const QString&, QObject* object) {
  if (auto* group = qobject_cast<OptionGroup*>(object)) return new QAccessibleWidget(group, QAccessible::Grouping);
  return nullptr;
}

// Still taken by a click and by the arrows, which Qt moves between the buttons of a group.
void SetTabStop(QRadioButton* option) { option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus); }

}  // namespace

OptionGroup::OptionGroup(QWidget* parent) : QWidget(parent) {
  static const bool installed = [] {
    QAccessible::installFactory(GroupInterface);
    return true;
  }();
  (void)installed;
}

void OptionGroup::KeepTabStopOnSelected() {
  for (QRadioButton* option : findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
    SetTabStop(option);
    connect(option, &QRadioButton::toggled, option, [option] { SetTabStop(option); });
  }
}

}  // namespace quaverline
