#include "reports/bq20z/bq20z.h"

#include <cstdint>

#include "reports/battery_values.h"
#include "reports/cell_voltages.h"
#include "reports/bq20z/seal_keys.h"
#include "reports/bq20z/status_registers.h"
#include "reports/report_header.h"
#include "reports/standard_lines.h"

namespace reports {

using namespace core;

namespace {

// Smart Battery Data lines 1 to 17: each read, its sleep, then its line.
const StandardLine kStandardLines[] = {
    {" Design Capacity:            ", Yellow, White, 0x18, 1, ValueRule::Capacity},
    {" Full Charge Capacity:...... ", Cyan, Yellow, 0x10, 1, ValueRule::Capacity},
    {" Cycle Count:                ", Red, White, 0x17, 1, ValueRule::Decimal},
    {" Manufacture Date:..... ", Cyan, Yellow, 0x1B, kNoSleep, ValueRule::Date},
    {" Design Voltage:             ", Yellow, White, 0x19, 1, ValueRule::MilliVolts},
    {" Manufacturer Name:......... ", Red, Red, 0x20, 2, ValueRule::Text},
    {" Device Name:                ", Green, Green, 0x21, 2, ValueRule::Text},
    {" Serial Number:............. ", Magenta, Magenta, 0x1C, 1, ValueRule::HexUpper},
    {" Charging Voltage:           ", Yellow, Yellow, 0x15, 1, ValueRule::MilliVolts},
    {" Charging Current:.......... ", White, White, 0x14, 1, ValueRule::MilliAmps},
    {" Device Chemistry:           ", Cyan, Red, 0x22, 2, ValueRule::Chemistry},
    {" Temperature:............... ", Magenta, White, 0x08, 1, ValueRule::Celsius},
    {" Voltage:                    ", Yellow, Yellow, 0x09, 1, ValueRule::MilliVolts},
    {" Current:................... ", White, White, 0x0A, 1, ValueRule::SignedMilliAmps},
    {nullptr, Cyan, Cyan, 0x0D, kNoSleep, ValueRule::RelativeSocLine},
    {nullptr, Green, Green, 0x0E, kNoSleep, ValueRule::AbsoluteSocLine},
    {" Remaining Capacity:         ", Yellow, Magenta, 0x0F, kNoSleep, ValueRule::Capacity},
};

const StandardLine kSpecificationInfo[] = {
    {" Specification Info:........ ", Yellow, Green, 0x1A, kNoSleep, ValueRule::HexLower},
};

const StandardLine kMaxError[] = {
    {" Max Error:                  ", White, White, 0x0C, 1, ValueRule::Percent},
};

}  // namespace

void bq20z(Program& p) {
  p.con.ClearScreen();
  ReportHeader(p, "         Vantrel_bq20zXX", "           READ Battery Info");
  if (StopInBootRom(p)) return;

  const int capacity_mode = ReadCapacityMode(p, 1);

  PrintStandardLines(p, kStandardLines, &ProgramState::buf, capacity_mode);
  CellVoltages(p);
  PrintStandardLines(p, kSpecificationInfo, &ProgramState::buf, capacity_mode);
  p.con.Dashes(Magenta, 38);

  PrintBatteryStatus20z(p);
  PrintBatteryModeFlags20z(p);
  PrintOperationStatus20z(p);

  PrintSealUnsealDevice20z(p);
  if (p.StUnsealDevice != 0) PrintKeys20z(p);

  PrintSafetyPfChargingStatus20z(p);
  PrintFetControl20z(p);
  PrintStandardLines(p, kMaxError, &ProgramState::buf, capacity_mode);

  if (p.StUnsealDevice != 0) PrintGaugeMemory20z(p);
  p.con.Dashes(Magenta, 37);

  PrintVersions20z(p);
  DeltaCapacity(p);
  p.con.Dashes(Magenta, 39);
  p.con.SetColour(Red);
}

}  // namespace reports
