// Whether a shared library whose path contains `part` is loaded into this process, for tests of
// what is loaded when. One source per system lists the loaded libraries.
#pragma once

#include <QByteArray>

bool MappedInProcess(const QByteArray& part);
