#include "link/trace.h"

#include <cstdarg>

namespace smb {

Trace::~Trace() {
  if (file_ != nullptr) std::fclose(file_);
}

bool Trace::Open(const std::string& path) {
  // Binary: every line ends with "\n" alone, on every platform.
  file_ = std::fopen(path.c_str(), "wb");
  return file_ != nullptr;
}

void Trace::Line(const char* format, ...) {
  if (file_ == nullptr) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(file_, format, args);
  va_end(args);
  std::fputc('\n', file_);
  std::fflush(file_);
}

}  // namespace smb
