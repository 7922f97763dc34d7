#include "process_maps.h"

#include <QString>

#include <windows.h>
#include <tlhelp32.h>

bool MappedInProcess(const QByteArray& part) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  const QString wanted = QString::fromUtf8(part);
  MODULEENTRY32W module{};
  module.dwSize = sizeof module;
  bool found = false;
  for (BOOL more = Module32FirstW(snapshot, &module); more && !found; more = Module32NextW(snapshot, &module)) {
    found = QString::fromWCharArray(module.szExePath).contains(wanted);
  }
  CloseHandle(snapshot);
  return found;
}
