// Whether a shared object whose path contains `part` is mapped into this process, for tests of
// what is loaded when.
#pragma once

#include <QByteArray>
#include <QFile>

inline bool MappedInProcess(const QByteArray& part) {
  QFile maps(QStringLiteral("/proc/self/maps"));
  return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(part);
}
