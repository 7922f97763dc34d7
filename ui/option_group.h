// Exclusive options as the desktop's own option groups are: one Tab stop, on the selected option
// (the arrow keys move to another and select it), in a group that screen readers name with them.
// It draws nothing.
#pragma once

#include <QWidget>

namespace quaverline {

class OptionGroup : public QWidget {
  Q_OBJECT
 public:
  explicit OptionGroup(QWidget* parent);
  // Makes the selected one of the options in the group its Tab stop, now and whenever the choice
  // changes. Called once the options are in it.
  void KeepTabStopOnSelected();
};

}  // namespace quaverline
