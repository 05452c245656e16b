#pragma once
// A program on a simulated bq40z battery whose console output can be seen
// together with the bus trace, in the order both happened.

#include <cstdio>
#include <memory>
#include <string>

#include "core/program.h"
#include "link/sim/profile.h"
#include "link/sim/sim_adapter.h"
#include "link/smbus.h"
#include "link/trace.h"
#include "platform/posix/posix_console.h"
#include "tests/support/harness.h"

namespace bq40z_tests {

class Rig {
 public:
  // A built-in profile name or a profile's JSON text (starting with "{").
  explicit Rig(const std::string& profile);
  ~Rig();

  core::Program& p() { return *program_; }
  std::string Output();
  std::string TraceText();
  // Output with every trace line put in, as "{line}", where it happened
  // between two console writes.
  std::string Merged();

 private:
  class RecordingConsole;
  void CatchUp();

  testing_support::ScratchDirectory scratch_;
  char* out_data_ = nullptr;
  std::size_t out_size_ = 0;
  std::FILE* out_ = nullptr;
  std::FILE* in_ = nullptr;
  std::unique_ptr<platform::PosixConsole> console_;
  std::unique_ptr<RecordingConsole> recording_;
  std::unique_ptr<smb::sim::SimAdapter> adapter_;
  smb::Trace trace_;
  std::unique_ptr<smb::SMBus> bus_;
  std::unique_ptr<core::Program> program_;
  std::string merged_;
  std::size_t out_seen_ = 0;
  std::size_t trace_seen_ = 0;
};

// Expected text helpers, written from the report's texts.
std::string Sep();  // the magenta 39-dash separator
// A manufacturer block read as the trace shows it: the request, its reply
// (echo and data bytes as " bb"), and the sleeps.
std::string MbrTrace(int subcommand, const std::string& reply_data_bytes);

}  // namespace bq40z_tests
