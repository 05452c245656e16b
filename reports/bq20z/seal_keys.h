#pragma once
// The bq20z security mode, the keys an unsealed gauge gives away, and the
// gauge-memory values only an unsealed gauge answers.

#include "core/program.h"

namespace reports {

// Reads Operation Status, sets StUnsealDevice (left as it was for the
// reserved combination) and writes the device line between two separators.
void PrintSealUnsealDevice20z(core::Program& p);

// Unseal, full-access and PF key lines and their closing separator.
void PrintKeys20z(core::Program& p);

// Update Status, Qmax per cell and pack, and the R_a flag of each cell.
void PrintGaugeMemory20z(core::Program& p);

}  // namespace reports
