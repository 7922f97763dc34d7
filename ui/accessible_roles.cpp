#include "ui/accessible_roles.h"

#include "ui/announcer.h"

#include "ui/key_area_widget.h"
#include "ui/option_group.h"
#include "ui/piano_keys.h"

#include <QAccessibleWidget>

namespace quaverline {

namespace {

class PianoAccessible final : public QAccessibleWidget {
 public:
  explicit PianoAccessible(PianoKeys* piano) : QAccessibleWidget(piano, QAccessible::Grouping) {}

  QAccessibleInterface* focusChild() const override {
    const auto* piano = static_cast<PianoKeys*>(widget());
    if (!piano->hasFocus()) return nullptr;
    return QAccessible::queryAccessibleInterface(piano->Key(piano->CurrentPitch()));
  }
};

class KeyAccessible final : public QAccessibleWidget {
 public:
  explicit KeyAccessible(KeyAreaWidget* key) : QAccessibleWidget(key, QAccessible::Button) {}

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    const auto* piano = static_cast<PianoKeys*>(widget()->parentWidget());
    state.focusable = true;
    state.focused = piano->hasFocus() && piano->Key(piano->CurrentPitch()) == widget();
    return state;
  }

  QStringList actionNames() const override { return {pressAction()}; }

  void doAction(const QString& actionName) override {
    if (actionName != pressAction()) return;
    // Later, from the event loop: the note's wait must not run inside the caller's request.
    auto* key = static_cast<KeyAreaWidget*>(widget());
    QMetaObject::invokeMethod(key, [key] { emit key->Click(); }, Qt::QueuedConnection);
  }

  QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

QAccessibleInterface* OwnInterfaces(const QString&, QObject* object) {
  if (auto* piano = qobject_cast<PianoKeys*>(object)) return new PianoAccessible(piano);
  if (auto* group = qobject_cast<OptionGroup*>(object)) return new QAccessibleWidget(group, QAccessible::Grouping);
  if (auto* announcer = qobject_cast<Announcer*>(object)) return new QAccessibleWidget(announcer, QAccessible::Notification);
  auto* key = qobject_cast<KeyAreaWidget*>(object);
  if (key && qobject_cast<PianoKeys*>(key->parentWidget())) return new KeyAccessible(key);
  return nullptr;
}

}  // namespace

void InstallAccessibleRoles() {
  static const bool installed = [] {
    QAccessible::installFactory(OwnInterfaces);
    return true;
  }();
  (void)installed;
}

}  // namespace quaverline
