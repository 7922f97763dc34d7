#include "audio/backends/shared_library.h"

#include <dlfcn.h>

namespace quaverline {

const char* const kSdl2LibraryName = "libSDL2-2.0.so.0";

void* OpenSharedLibrary(const char* name) { return dlopen(name, RTLD_NOW | RTLD_LOCAL); }

void* FindSymbol(void* library, const char* name) { return dlsym(library, name); }

void CloseSharedLibrary(void* library) { dlclose(library); }

std::string LoadError() {
  const char* error = dlerror();
  return error != nullptr ? error : "unknown error";
}

}  // namespace quaverline
