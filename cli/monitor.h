#pragma once
// The monitor command: a sample every interval, as CSV rows or JSON Lines,
// until the count is reached or Ctrl-C.

#include <csignal>
#include <optional>
#include <string>

#include "core/program.h"

namespace cli {

struct MonitorOptions {
  double interval_seconds = 1.0;
  std::optional<long long> count;  // none: until Ctrl-C
  std::string output;              // empty or "-": standard output
  std::string format = "csv";      // or "jsonl"
  // The intervals pass in the simulated battery's own time (SMBUS_SIM_REALTIME=0,
  // for tests); otherwise they are real time on every adapter.
  bool virtual_intervals = false;
};

// Set by Ctrl-C while a monitor runs (the session is told to leave it to the
// monitor): the monitor ends after its last complete row.
extern volatile std::sig_atomic_t monitor_stop_requested;

int Monitor(core::Program& p, const MonitorOptions& options);

}  // namespace cli
