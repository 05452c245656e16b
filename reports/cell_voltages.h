#pragma once

#include "core/program.h"

namespace reports {

// Finds the layout whose four cell voltages add up to the pack voltage and
// writes the lines "VCELL 4" to "VCELL 1". Every report runs it unchanged.
void CellVoltages(core::Program& p);

}  // namespace reports
