#pragma once
// The bus trace: one line per bus operation, sleep, beep and restart, written
// and flushed as it happens.

#include <cstdio>
#include <string>

namespace smb {

class Trace {
 public:
  Trace() = default;
  ~Trace();
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  // Truncates and opens the file; false when it cannot be opened.
  bool Open(const std::string& path);
  bool enabled() const { return file_ != nullptr; }

  void Line(const char* format, ...) __attribute__((format(printf, 2, 3)));

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace smb
