#pragma once
// The monitor command: a sample every interval, as CSV rows or JSON Lines,
// until the count is reached or Ctrl-C.

#include <optional>
#include <string>

#include "core/program.h"

namespace cli {

struct MonitorOptions {
  double interval_seconds = 1.0;
  std::optional<long long> count;  // none: until Ctrl-C
  std::string output;              // empty: standard output
  std::string format = "csv";      // or "jsonl"
};

int Monitor(core::Program& p, const MonitorOptions& options);

}  // namespace cli
