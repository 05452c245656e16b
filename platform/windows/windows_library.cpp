#include <windows.h>

#include "platform/library.h"

namespace platform {

const char* const kAdapterLibraryName = "libsmbusb.dll";

void* OpenLibrary(const std::string& name_or_path, std::string& error) {
  HMODULE library = LoadLibraryA(name_or_path.c_str());
  if (library == nullptr) error = "Windows error " + std::to_string(GetLastError());
  return reinterpret_cast<void*>(library);
}

void* LibrarySymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(void* library) {
  if (library != nullptr) FreeLibrary(static_cast<HMODULE>(library));
}

}  // namespace platform
