#include "audio/backends/shared_library.h"

#include <windows.h>

namespace quaverline {

const char* const kSdl2LibraryName = "SDL2.dll";

void* OpenSharedLibrary(const char* name) {
  // The program's own directory first, not the current one, so a stray SDL2.dll elsewhere is
  // never picked up.
  return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

void* FindSymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseSharedLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

std::string LoadError() {
  char text[512] = {};
  const DWORD code = GetLastError();
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      text, sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return "error " + std::to_string(code) + (message.empty() ? "" : ": " + message);
}

}  // namespace quaverline
