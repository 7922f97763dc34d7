#include "ui/announcer.h"

#include <QAccessible>

namespace quaverline {

Announcer::Announcer(QWidget* window) : QWidget(window) {
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
