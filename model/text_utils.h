// Small text operations the melody interpreter is built on.
#pragma once

#include <QString>

namespace quaverline {

// Cuts the first token off tests at the first delim (letter case ignored) and returns it;
// tests keeps what follows the delimiter. Without a delimiter the whole text is the token and
// tests stays as it is, which is how a caller recognises the last token.
QString bite(QString& tests, const QString& delim);

// test with every occurrence of str1 replaced by str2, left to right, never re-searching
// replaced text. An empty str1 finds nothing.
QString ReplaceVB5(const QString& test, const QString& str1, const QString& str2);

}  // namespace quaverline
