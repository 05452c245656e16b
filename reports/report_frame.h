#pragma once
// The opening and the end of the bq20z, bq30z and bq40z reports.

#include "core/program.h"

namespace reports {

// PEC state, the state of charge (read into status) and the report's banner
// and title between two separators.
void ReportHeader(core::Program& p, const char* banner, const char* title);

// Sets BootRom from the state of charge in status. A gauge still in its boot
// ROM answers above 100 (or not at all) and nothing else is worth reading:
// the bq20z and bq40z reports then say so and stop. True when they must stop.
bool StopInBootRom(core::Program& p);

// The Delta-Capacity line, the closing separator, and red for the pause that follows.
void EndReport(core::Program& p);

}  // namespace reports
