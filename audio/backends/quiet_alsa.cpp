#include "audio/backends/quiet_alsa.h"

#include "audio/backends/shared_library.h"

namespace quaverline {

namespace {

using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetErrorHandler = int (*)(ErrorHandler);

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

// SDL loads ALSA at run time, so it is loaded here first (where installed; never on Windows) and
// its handler set; SDL then gets this same, already quiet, instance.
QuietAlsa::QuietAlsa() : library_(OpenSharedLibrary("libasound.so.2")) {
  if (library_ == nullptr) return;
  if (auto set = reinterpret_cast<SetErrorHandler>(FindSymbol(library_, "snd_lib_error_set_handler"))) {
    set(&IgnoreAlsaError);
  }
}

QuietAlsa::~QuietAlsa() {
  if (library_ != nullptr) CloseSharedLibrary(library_);
}

}  // namespace quaverline
