#include <dlfcn.h>

#include "platform/library.h"

namespace platform {

const char* const kAdapterLibraryName = "libsmbusb.so";

void* OpenLibrary(const std::string& name_or_path, std::string& error) {
  void* library = dlopen(name_or_path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* reason = dlerror();
    error = reason != nullptr ? reason : "unknown error";
  }
  return library;
}

void* LibrarySymbol(void* library, const char* name) { return dlsym(library, name); }

void CloseLibrary(void* library) {
  if (library != nullptr) dlclose(library);
}

}  // namespace platform
