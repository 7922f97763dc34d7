#include "process_maps.h"

#include <QFile>

bool MappedInProcess(const QByteArray& part) {
  QFile maps(QStringLiteral("/proc/self/maps"));
  return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(part);
}
