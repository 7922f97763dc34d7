// Loading a shared library at run time and looking up its functions, over the system's loader.
#pragma once

#include "audio/sound_log.h"

#include <string>

namespace quaverline {

// SDL2's file name as this system's loader finds it: the name its runtime package installs on
// Linux, the DLL beside the program on Windows.
extern const char* const kSdl2LibraryName;

// Null when the library cannot be loaded; LoadError() then says why.
void* OpenSharedLibrary(const char* name);
// Null when the library lacks the symbol.
void* FindSymbol(void* library, const char* name);
void CloseSharedLibrary(void* library);
std::string LoadError();

// Looks up one function of a library loaded at run time as `call`; false, with the missing name
// in the sound log, when the library lacks it.
template <typename Call>
bool ResolveCall(void* library, const char* libraryName, const char* symbol, Call& call) {
  call = reinterpret_cast<Call>(FindSymbol(library, symbol));
  if (call == nullptr) qCInfo(lcSound, "%s lacks %s", libraryName, symbol);
  return call != nullptr;
}

// Opens a library that then stays loaded for good, and has `resolveAll(library)` look up its
// calls; closes it again when that fails. False, with the reason in the sound log, when the
// library is missing or unusable.
template <typename ResolveAll>
bool OpenWithCalls(const char* libraryName, ResolveAll resolveAll) {
  void* library = OpenSharedLibrary(libraryName);
  if (library == nullptr) {
    qCInfo(lcSound, "cannot load %s: %s", libraryName, LoadError().c_str());
    return false;
  }
  if (resolveAll(library)) return true;
  CloseSharedLibrary(library);
  return false;
}

}  // namespace quaverline
