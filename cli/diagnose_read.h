#pragma once
// What diagnose reads: the family, BatteryStatus, the family's status
// registers each read the way that works in the gauge's security mode, the
// seal state, the temperature, the current and the cell voltages. Every
// write on the bus is a documented read request (a status register's
// number, 0x0050 to 0x0057, or the identification's 0x0001 and 0x0002).

#include <optional>
#include <string>
#include <vector>

#include "cli/battery_read.h"
#include "cli/gauge_family.h"
#include "cli/seal_state.h"
#include "core/program.h"
#include "reports/cell_voltages.h"
#include "reports/family.h"

namespace cli {

struct RegisterReading {
  const char* name;
  int bytes;
  reports::FlagTable flags;
  reports::Effect every_bit;  // Effect::Info: each bit as its table says
  reports::StatusValue value;
  std::optional<reports::StatusRegister> id;  // none: BatteryStatus
};

struct DiagnoseReading {
  BatteryText device_name;
  std::optional<Family> family;
  SealReading seal;
  int temperature = 0;  // the word, or an error code
  int current = 0;
  int specification_info = 0;  // how the current scales
  int voltage = 0;  // the pack voltage, or an error code
  reports::CellVoltageSearch cells;
  std::vector<RegisterReading> registers;  // BatteryStatus first
  // LifetimeData block 1, when the family has it and the gauge is not sealed:
  // the little-endian words of cell 1..4 maximum, cell 1..4 minimum and the
  // largest difference between cells (mV, as the published layouts say).
  bool lifetime_read = false;
  int lifetime_error = 0;  // the read's result when it failed
  std::vector<int> lifetime_words;
};

// `family_choice`: auto, or a family's name.
DiagnoseReading ReadForDiagnosis(core::Program& p, const std::string& family_choice);

struct SetFlag {
  int bit;
  std::string name;  // as the reports print it, without its padding; "bit N" for a bit without a name
  const char* meaning;
  reports::Effect effect;
};

// The set bits of a register that was read, most significant first. The
// error-code bits of BatteryStatus are not flags.
std::vector<SetFlag> SetFlags(const RegisterReading& reading);

// The register of that name, when the family has it.
const RegisterReading* Find(const DiagnoseReading& reading, reports::StatusRegister id);

}  // namespace cli
