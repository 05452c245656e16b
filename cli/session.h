#pragma once
// Set-up and tear-down of one command of the command line: the adapter
// (--adapter or SMBUS_ADAPTER), the recording (SMBUS_RECORD), the bus trace
// (SMBUS_TRACE), the console and the interrupt handler, then the adapter
// opened at once and the battery looked for briefly: no countdown, no budget
// file, no restart script.
//
// This is the command line's own copy of what app/main.cpp sets up for the
// interactive program; it is kept in this one place so that both can share
// one piece.

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

// An async-signal-safe step that an interrupt takes before the process ends,
// such as removing a file half written; nullptr for none.
void OnInterruptAlso(void (*step)());

// Sets up, opens the adapter, switches PEC, finds the battery and runs
// `command`, whose result is the exit status; then tears down.
int RunSession(const CommonOptions& options, const std::function<int(core::Program&)>& command);

}  // namespace cli
