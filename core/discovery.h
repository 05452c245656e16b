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

// One presence probe: ManufacturerAccess and the state of charge, each read
// followed by a pause of 1 ms.
struct BatteryProbe {
  int manuf_access;
  int state_of_charge;
  // Neither word acknowledged, or the state of charge not read at all: no battery.
  bool Answered() const {
    return !((manuf_access == smb::kNotAcknowledged && state_of_charge == smb::kNotAcknowledged) ||
             state_of_charge == smb::kReadFailed);
  }
};
BatteryProbe ProbeBattery(Program& p);

// Waits for a battery to answer, at most 61 probes.
void CheckSMB(Program& p);

}  // namespace core
