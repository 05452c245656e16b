#pragma once
// A program on a simulated bq40z battery whose console output can be seen
// together with the bus trace, in the order both happened.

#include <memory>
#include <string>

#include "core/program.h"
#include "tests/support/harness.h"

namespace bq40z_tests {

class Rig {
 public:
  // A built-in profile name or a profile's JSON text (starting with "{").
  explicit Rig(const std::string& profile);

  core::Program& p() { return test_.p(); }
  std::string Output() { return test_.Output(); }
  std::string TraceText() { return test_.TraceText(); }
  // Output with every trace line put in, as "{line}", where it happened
  // between two console writes.
  std::string Merged();

 private:
  class RecordingConsole;
  void CatchUp();

  testing_support::TestProgram test_;
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
