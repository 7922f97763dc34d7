#include "model/text_utils.h"

namespace quaverline {

QString bite(QString& tests, const QString& delim) {
  const qsizetype p = tests.indexOf(delim, 0, Qt::CaseInsensitive);
  if (p < 0) return tests;
  QString token = tests.left(p);
  tests = tests.mid(p + delim.size());
  return token;
}

QString ReplaceVB5(const QString& test, const QString& str1, const QString& str2) {
  if (str1.isEmpty()) return test;
  QString result;
  qsizetype from = 0;
  for (qsizetype p = test.indexOf(str1, from); p >= 0; p = test.indexOf(str1, from)) {
    result += QStringView(test).mid(from, p - from);
    result += str2;
    from = p + str1.size();
  }
  result += QStringView(test).mid(from);
  return result;
}

}  // namespace quaverline
