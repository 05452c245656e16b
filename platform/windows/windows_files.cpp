#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstring>

#include "platform/files.h"

namespace platform {

const char* ErrorText(int error_number) { return std::strerror(error_number); }

void OpenClosedStandardStreams() {
  std::FILE* const streams[] = {stdin, stdout, stderr};
  for (int fd = 0; fd <= 2; ++fd) {
    if (_get_osfhandle(fd) != -1) continue;
    std::FILE* reopened = std::freopen("NUL", fd == 0 ? "r" : "w", streams[fd]);
    if (reopened != nullptr && _fileno(reopened) != fd) _dup2(_fileno(reopened), fd);
  }
}

namespace {

// A reparse point (a symbolic link or a junction) is not followed: it is
// opened as itself and refused, as is anything that is not a file on disk.
HANDLE OpenRegular(const char* path, bool write) {
  HANDLE handle = CreateFileA(path, write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, write ? OPEN_ALWAYS : OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return handle;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool regular = GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
                       (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
  if (regular) return handle;
  CloseHandle(handle);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

std::FILE* OpenRegularFile(const char* path) {
  HANDLE handle = OpenRegular(path, false);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "rb");
  if (file == nullptr) _close(fd);
  return file;
}

bool RewriteRegularFile(const char* path, const void* bytes, std::size_t count) {
  HANDLE handle = OpenRegular(path, true);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(handle, bytes, static_cast<DWORD>(count), &written, nullptr) && written == count &&
                  SetEndOfFile(handle);
  return CloseHandle(handle) && ok;
}

}  // namespace platform
