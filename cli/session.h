#pragma once
// Set-up and tear-down of one command of the command line: the adapter
// (--adapter or SMBUS_ADAPTER), the recording (SMBUS_RECORD), the bus trace
// (SMBUS_TRACE), the console and the interrupt handler, then the adapter
// opened at once and the battery looked for briefly: no countdown, no budget
// file, no restart script.
//
// The start-up and tear-down themselves are the interactive program's
// (core/session.h): the same files, interrupts and exit statuses.

#include <csignal>
#include <functional>
#include <string>

#include "core/program.h"

namespace cli {

// Exit statuses of the command line.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitNoBattery = 1;  // no adapter, or no battery answers
inline constexpr int kExitUsage = 2;      // a usage or configuration error

struct CommonOptions {
  std::string adapter;  // overrides SMBUS_ADAPTER when not empty
  bool no_pec = false;
};

// One diagnostic line on standard error: "vantrel: " and the message.
void Complain(const std::string& message);

// Standard output flushed and checked: a write that failed is said once and
// turns an exit status of success into 1.
int Finished(int code);

// Sets up, opens the adapter, switches PEC, finds the battery and runs
// `command`, whose result is the exit status; then tears down. With
// `stop_on_ctrl_c`, Ctrl-C only sets that flag and the command ends in its
// own time.
int RunSession(const CommonOptions& options, const std::function<int(core::Program&)>& command,
               volatile std::sig_atomic_t* stop_on_ctrl_c = nullptr);

}  // namespace cli
