#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/files.h"

namespace platform {

const char* ErrorText(int error_number) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 32))
  // Unlike strerror, a constant text: no locale, no buffer.
  const char* text = strerrordesc_np(error_number);
  return text != nullptr ? text : "Unknown error";
#else
  return std::strerror(error_number);
#endif
}

void OpenClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    // The lowest free descriptor is this one.
    const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (opened > fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
}

std::FILE* OpenRegularFile(const char* path, FileUse use) {
  const int flags = use == FileUse::Read ? O_RDONLY : O_WRONLY | O_CREAT;
  // O_NONBLOCK: a pipe planted there must not hold the program.
  const int fd = open(path, flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat info {};
  const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (!regular || (use == FileUse::Replace && ftruncate(fd, 0) != 0)) {
    close(fd);
    return nullptr;
  }
  std::FILE* file = fdopen(fd, use == FileUse::Read ? "rb" : "wb");
  if (file == nullptr) close(fd);
  return file;
}

}  // namespace platform
