#pragma once

#include "core/program.h"

namespace reports {

// The information report of a bq30z-family gauge (menu choice "2").
void bq30z(core::Program& p);

// Reads the security mode from Operation Status, writes it between two
// separators and records it in StUnsealDevice (mode 0 leaves it as it was).
void PrintSealUnsealDevicez30(core::Program& p);

}  // namespace reports
