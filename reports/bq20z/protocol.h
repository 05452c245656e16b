#pragma once
// The bq20z gauge's exchanges with the host: what the report reads through,
// and what the command line reuses.

#include "core/program.h"

namespace reports::bq20z_family {

// A register behind ManufacturerAccess: the subcommand is written to 0x00 and
// the answer read back from 0x00 into status, then a sleep of 1 ms. Some
// registers need 1 ms between the write and the read, some none.
enum class PauseBeforeRead { None, OneMillisecond };
int ManufacturerAccessRead(core::Program& p, int subcommand, PauseBeforeRead pause);

// A key block (0x60 to 0x62) into buf, then a sleep of 3 ms.
void ReadKeyBlock(core::Program& p, int command);

// Selects a data-flash subclass (0x77), then reads its first page (0x78) into buf.
void ReadSubclass(core::Program& p, int subclass);

}  // namespace reports::bq20z_family
