// Loading a shared library at run time and looking up its functions, over the system's loader.
#pragma once

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

}  // namespace quaverline
