// Status messages for screen readers, such as the line a note added: spoken, never drawn. The
// announcer holds the last one as its accessible name.
#pragma once

#include <QWidget>

namespace quaverline {

class Announcer : public QWidget {
  Q_OBJECT
 public:
  explicit Announcer(QWidget* window);
  void Announce(const QString& text);
};

}  // namespace quaverline
