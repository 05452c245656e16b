#pragma once
// Adapter discovery with its restart budget, and the battery presence probe.

#include "core/program.h"

namespace core {

// Makes sure the adapter is open; throws ProgramEnd when the restart
// budget is spent.
void CheckDevice(Program& p);

// The restart budget file: mode 0 reads it, a positive mode sets it, -1
// counts it down. Returns the new budget, or -2 when the file cannot be written.
int CountSRCHadp(Program& p, int mode);

// Waits for a battery to answer, at most 61 probes.
void CheckSMB(Program& p);

}  // namespace core
