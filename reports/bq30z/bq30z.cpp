#include "reports/bq30z/bq30z.h"

#include <cstdint>

#include "reports/battery_values.h"
#include "reports/cell_voltages.h"
#include "reports/bq30z/bq30z_parts.h"
#include "reports/report_header.h"
#include "reports/standard_lines.h"

namespace reports {

using namespace core;
using namespace bq30z_parts;

namespace {

constexpr int kWide = 39;    // header, boot-ROM block and closing separator

// A gauge in boot-ROM mode answers nothing useful: say so and stop.
bool BootRomGuard(Program& p) {
  p.BootRom = BootRomFromStateOfCharge(p.status);
  if (p.BootRom == 0) return false;
  p.con.Dashes(White, kWide);
  p.con.Print(Red, "         DEVICE in BOOT-ROM mod\n");
  p.con.NewLine();
  p.con.Print(Yellow, "     Please EXIT from BOOT-ROM mod");
  p.con.NewLine();
  p.con.Dashes(White, kWide);
  p.con.SetColour(Cyan);
  return true;
}

// Smart Battery Data lines 1 to 17; the text blocks go to buff, each
// followed by the pause the gauge needs after it.
const StandardLine kStandardLines[] = {
    {" Design Capacity:            ", Yellow, White, 0x18, kNoSleep, ValueRule::Capacity},
    {" Full Charge Capacity:...... ", Cyan, Yellow, 0x10, kNoSleep, ValueRule::Capacity},
    {" Cycle Count:                ", Magenta, Green, 0x17, kNoSleep, ValueRule::Decimal},
    {" Manufacture Date:..... ", Cyan, Yellow, 0x1B, kNoSleep, ValueRule::Date},
    {" Design Voltage:             ", Yellow, White, 0x19, kNoSleep, ValueRule::MilliVolts},
    {" Manufacturer Name:......... ", Red, Red, 0x20, 3, ValueRule::Text},
    {" Device Name:                ", Green, Green, 0x21, 3, ValueRule::Text},
    {nullptr, Magenta, Magenta, 0x1C, kNoSleep, ValueRule::SerialLine},
    {" Charging Voltage:           ", Yellow, Yellow, 0x15, kNoSleep, ValueRule::MilliVolts},
    {" Charging Current:.......... ", White, White, 0x14, kNoSleep, ValueRule::MilliAmps},
    {" Device Chemistry:           ", Cyan, Red, 0x22, 3, ValueRule::Text},
    {nullptr, Green, Green, 0x08, kNoSleep, ValueRule::TemperatureLine},
    {" Voltage:                    ", Yellow, Yellow, 0x09, kNoSleep, ValueRule::MilliVolts},
    {" Current:................... ", White, White, 0x0A, kNoSleep, ValueRule::SignedMilliAmps},
    {nullptr, Cyan, Cyan, 0x0D, kNoSleep, ValueRule::RelativeSocLine},
    {nullptr, Green, Green, 0x0E, kNoSleep, ValueRule::AbsoluteSocLine},
    {" Remaining Capacity:         ", Yellow, Magenta, 0x0F, kNoSleep, ValueRule::Capacity},
};

const StandardLine kSpecificationInfo[] = {
    {" Specification Info:........ ", Yellow, Green, 0x1A, kNoSleep, ValueRule::HexLower},
};

const StandardLine kMaxError[] = {
    {" Max Error:                  ", Cyan, White, 0x0C, kNoSleep, ValueRule::Percent},
};

}  // namespace

void bq30z(Program& p) {
  p.con.ClearScreen();
  ReportHeader(p, "          Vantrel-bq30z55", "            READ Battery Info");
  if (BootRomGuard(p)) return;

  const int capacity_mode = ReadCapacityMode(p, kNoSleep);
  PrintStandardLines(p, kStandardLines, &ProgramState::buff, capacity_mode);
  CellVoltages(p);
  PrintStandardLines(p, kSpecificationInfo, &ProgramState::buff, capacity_mode);
  p.con.Dashes(Magenta, kNarrow);

  BatteryStatus(p);
  p.con.Dashes(Magenta, kNarrow);
  OperationStatus(p);
  PrintSealUnsealDevicez30(p);
  GaugeStatusRegisters(p);

  PrintStandardLines(p, kMaxError, &ProgramState::buff, capacity_mode);
  p.con.Dashes(Magenta, kNarrow);

  // The state may come from an earlier report when this gauge said mode 0.
  if (p.StUnsealDevice != 0) UnsealedData(p);

  Identification(p);
  p.con.Dashes(Magenta, kNarrow);
  DeltaCapacity(p);
  p.con.Dashes(Magenta, kWide);
  p.con.SetColour(Red);
}

}  // namespace reports
