#include "ui/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace quaverline {

namespace {

QAccessibleInterface* AnnouncerInterface(const QString&, QObject* object) {
  if (auto* announcer = qobject_cast<Announcer*>(object)) return new QAccessibleWidget(announcer, QAccessible::Notification);
  return nullptr;
}

}  // namespace

Announcer::Announcer(QWidget* window) : QWidget(window) {
  static const bool installed = [] {
    QAccessible::installFactory(AnnouncerInterface);
    return true;
  }();
  (void)installed;
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  setGeometry(0, 0, 0, 0);
  hide();
}

void Announcer::Announce(const QString& text) {
  setAccessibleName(text);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  QAccessibleAnnouncementEvent announcement(window(), text);
  QAccessible::updateAccessibility(&announcement);
#else
  // Without an announcement event, a notification that appears is what screen readers speak
  // whatever has the focus (Orca reads its name).
  hide();
  show();
#endif
}

}  // namespace quaverline
