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

  // Opens the file without truncating it yet, so that a run that cannot
  // start leaves it as it was; false when it cannot be opened.
  bool Open(const std::string& path);
  // Empties the file: done once every output file of the run is known to open.
  void Start();
  bool enabled() const { return file_ != nullptr; }

  void Line(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Closes the file; false when it or a line could not be written.
  bool Close();
  // The error number of the first failed write, 0 while there is none.
  int error() const { return error_; }

 private:
  std::FILE* file_ = nullptr;
  volatile int error_ = 0;
};

}  // namespace smb
