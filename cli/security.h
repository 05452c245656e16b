#pragma once
// unseal, full-access and seal: a gauge's security state moved by the
// documented writes only, shown before they are sent and read back after.

#include <string>

#include "cli/gauge_writes.h"
#include "core/program.h"

namespace cli {

struct AccessOptions {
  Action action = Action::Seal;  // Unseal, FullAccess or Seal
  std::string family = "auto";
  Key key;  // for Unseal and FullAccess
  bool yes = false;
};

// 0 when the gauge reached the state asked for, 1 when it did not or the
// command was refused for it, 2 when there was no one to confirm.
int Access(core::Program& p, const AccessOptions& options);

}  // namespace cli
