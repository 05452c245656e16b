#pragma once

#include "core/program.h"

namespace reports {

// A bq20z register behind ManufacturerAccess: the subcommand is written to
// 0x00 and the answer read back from 0x00 into status, then a sleep of 1 ms.
// Some registers need 1 ms between the write and the read, some none.
enum class PauseBeforeRead { None, OneMillisecond };
int ManufacturerAccessRead(core::Program& p, int subcommand, PauseBeforeRead pause);

}  // namespace reports
