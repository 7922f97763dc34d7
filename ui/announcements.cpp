#include "ui/announcements.h"

namespace quaverline {

QString DeletedMessage(const QString& line, Language language) {
  return QString::fromUtf8(InLanguage(kLineDeleted, language)).arg(line);
}

QString CopiedMessage(int lines, Language language) {
  if (lines == 1) return QString::fromUtf8(InLanguage(kOneLineCopied, language));
  return QString::fromUtf8(InLanguage(kLinesCopied, language)).arg(lines);
}

}  // namespace quaverline
