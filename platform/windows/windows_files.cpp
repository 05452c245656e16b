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

// A reparse point (a symbolic link or a junction) is not followed: it is
// opened as itself and refused, as is anything that is not a file on disk.
std::FILE* OpenRegularFile(const char* path, FileUse use) {
  const bool read = use == FileUse::Read;
  HANDLE handle = CreateFileA(path, read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, read ? OPEN_EXISTING : OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool regular = GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
                       (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
  if (!regular || (!read && !SetEndOfFile(handle))) {
    CloseHandle(handle);
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), (read ? _O_RDONLY : 0) | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, read ? "rb" : "wb");
  if (file == nullptr) _close(fd);
  return file;
}

}  // namespace platform
