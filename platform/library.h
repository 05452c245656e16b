#pragma once
// Loading a shared library at run time.

#include <string>

namespace platform {

// The adapter library's file name on this system.
extern const char* const kAdapterLibraryName;

// Null on failure, with the reason in `error`.
void* OpenLibrary(const std::string& name_or_path, std::string& error);
void* LibrarySymbol(void* library, const char* name);
void CloseLibrary(void* library);

}  // namespace platform
