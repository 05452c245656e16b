#pragma once
// vantrel diagnose: why a pack will not charge or discharge, in plain words.
// Read-only: the only writes are the documented read requests.

#include <string>

#include "core/program.h"

namespace cli {

// The exit status when something blocks charging or discharging, a
// permanent failure is set, or the status cannot be read.
inline constexpr int kExitBlocked = 3;

struct DiagnoseOptions {
  bool json = false;
  std::string family = "auto";
};

int Diagnose(core::Program& p, const DiagnoseOptions& options);

}  // namespace cli
