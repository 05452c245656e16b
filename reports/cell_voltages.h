#pragma once

#include <cstdint>

#include "core/program.h"

namespace reports {

// The four cell voltages as the search found them, cell 1 first.
struct CellVoltageSearch {
  std::uint16_t cells[4] = {};
  const char* const* labels = nullptr;  // the source label of each cell
  bool matched = false;  // false: no layout fits, the last one's values stand
  int error = 0;         // the first error code among the taken layout's reads, else 0
};

// Reads the layouts one after another and takes the first whose four cell
// voltages add up to the pack voltage; the last layout when none does.
CellVoltageSearch FindCellVoltages(core::Program& p);

// Finds the cell voltages and writes the lines "VCELL 4" to "VCELL 1".
// Every report runs it unchanged.
void CellVoltages(core::Program& p);

}  // namespace reports
