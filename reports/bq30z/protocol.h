#pragma once
// The bq30z gauge's exchanges with the host: what the report reads through,
// and what the command line reuses.

#include "core/program.h"

namespace reports::bq30z_family {

// Selects a gauge register by subcommand through ManufacturerAccess and reads
// its reply into buf at once; returns the read's result, kept in status. The
// count does not limit the bytes taken: a short reply leaves older bytes in buf.
int ManufacturerData(core::Program& p, int subcommand);

// Selects gauge-memory row `row` (32 bytes at 32 * row) and reads it into buf.
void MemoryRow(core::Program& p, int row);

}  // namespace reports::bq30z_family
