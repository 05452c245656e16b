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

namespace {

// O_NONBLOCK: a pipe planted there must not hold the program.
int OpenRegular(const char* path, int flags) {
  const int fd = open(path, flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  struct stat info {};
  if (fd >= 0 && (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::FILE* OpenRegularFile(const char* path) {
  const int fd = OpenRegular(path, O_RDONLY);
  std::FILE* file = fd >= 0 ? fdopen(fd, "rb") : nullptr;
  if (file == nullptr && fd >= 0) close(fd);
  return file;
}

bool RewriteRegularFile(const char* path, const void* bytes, std::size_t count) {
  const int fd = OpenRegular(path, O_WRONLY | O_CREAT);
  if (fd < 0) return false;
  struct stat info {};
  const bool written = pwrite(fd, bytes, count, 0) == static_cast<ssize_t>(count) && fstat(fd, &info) == 0 &&
                       (info.st_size == static_cast<off_t>(count) || ftruncate(fd, static_cast<off_t>(count)) == 0);
  return close(fd) == 0 && written;
}

}  // namespace platform
