#include "link/trace.h"

#include <cerrno>
#include <cstdarg>

#include "platform/files.h"
#include "platform/system.h"

namespace smb {

Trace::~Trace() {
  if (file_ != nullptr) std::fclose(file_);
}

bool Trace::Open(const std::string& path) {
  // Binary: every line ends with "\n" alone, on every platform.
  file_ = platform::OpenForWriting(path);
  return file_ != nullptr;
}

void Trace::Start() {
  if (file_ != nullptr) platform::Truncate(file_);
}

void Trace::Line(const char* format, ...) {
  if (file_ == nullptr) return;
  // A line is in the file whole, or not at all, when an interrupt ends the run.
  const platform::InterruptDeferral whole;
  va_list args;
  va_start(args, format);
  std::vfprintf(file_, format, args);
  va_end(args);
  std::fputc('\n', file_);
  if ((std::fflush(file_) != 0 || std::ferror(file_)) && error_ == 0) error_ = errno != 0 ? errno : EIO;
}

bool Trace::Close() {
  if (file_ == nullptr) return error_ == 0;
  if (std::fclose(file_) != 0 && error_ == 0) error_ = errno != 0 ? errno : EIO;
  file_ = nullptr;
  return error_ == 0;
}

}  // namespace smb
