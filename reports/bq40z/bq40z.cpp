#include "reports/bq40z/bq40z.h"

#include "reports/battery_values.h"
#include "reports/cell_voltages.h"
#include "reports/report_header.h"
#include "reports/standard_lines.h"

namespace reports {

using namespace core;

namespace {

constexpr int kSeparator = 39;

// Smart Battery Data lines 1 to 17. Row 1 takes the Design Capacity read
// right after BatteryMode; in the label-first rows the value colour is set
// before the word is read.
const StandardLine kStandardLines[] = {
    {" Design Capacity:            ", Yellow, White, 0x18, 0, ValueRule::Capacity},
    {" Full Charge Capacity:...... ", Cyan, Yellow, 0x10, kNoSleep, ValueRule::Capacity, Order::LabelFirst},
    {" Cycle Count:                ", Magenta, White, 0x17, kNoSleep, ValueRule::Decimal, Order::LabelFirst},
    {" Manufacture Date:..... ", Cyan, Yellow, 0x1B, kNoSleep, ValueRule::Date},
    {" Design Voltage:             ", Yellow, White, 0x19, kNoSleep, ValueRule::MilliVolts, Order::LabelFirst},
    {" Manufacturer Name:......... ", Red, Red, 0x20, kNoSleep, ValueRule::Text},
    {" Device Name:                ", Green, Green, 0x21, kNoSleep, ValueRule::Text},
    {" Serial Number:............. ", Cyan, Cyan, 0x1C, kNoSleep, ValueRule::HexUpperCaps, Order::LabelFirst},
    {" Charging Voltage:           ", Yellow, Yellow, 0x15, kNoSleep, ValueRule::MilliVolts, Order::LabelFirst},
    {" Charging Current:.......... ", White, White, 0x14, kNoSleep, ValueRule::MilliAmps, Order::LabelFirst},
    {" Device Chemistry:           ", Magenta, Magenta, 0x22, kNoSleep, ValueRule::Text},
    {nullptr, Cyan, Cyan, 0x08, kNoSleep, ValueRule::TemperatureLine},
    {" Voltage:                    ", Yellow, Yellow, 0x09, kNoSleep, ValueRule::MilliVolts, Order::LabelFirst},
    {" Current:................... ", White, White, 0x0A, kNoSleep, ValueRule::SignedMilliAmps, Order::LabelFirst},
    {nullptr, Cyan, Cyan, 0x0D, kNoSleep, ValueRule::RelativeSocLine},
    {nullptr, Green, Green, 0x0E, kNoSleep, ValueRule::AbsoluteSocLine},
    {" Remaining Capacity:         ", Yellow, Magenta, 0x0F, kNoSleep, ValueRule::Capacity},
};

const StandardLine kSpecificationInfo[] = {
    {" Specification Info:........ ", Green, Yellow, 0x1A, kNoSleep, ValueRule::HexLower, Order::LabelFirst},
};

const StandardLine kMaxError[] = {
    {" Max Error:                  ", Cyan, White, 0x0C, 1, ValueRule::Percent},
};

}  // namespace

void bq40z(Program& p) {
  z40::ReportBuffer receive;
  p.con.ClearScreen();
  ReportHeader(p, "         Vantrel-bq40z50", "          READ  Battery Info");
  if (StopInBootRom(p)) return;

  std::memset(receive, 0, sizeof receive);
  const int capacity_mode = ReadCapacityMode(p, 0);

  PrintStandardLines(p, kStandardLines, &ProgramState::buf, capacity_mode);
  CellVoltages(p);
  PrintStandardLines(p, kSpecificationInfo, &ProgramState::buf, capacity_mode);
  p.con.Dashes(Magenta, kSeparator);

  z40::BatteryStatusFlags(p);
  z40::BatteryModeFlags(p);
  z40::OperationStatusFlags(p, receive);
  PrintSealUnsealDevicez40(p);
  z40::CaptureKeys(p, receive);
  z40::GaugingStatusFlags(p, receive);
  z40::ManufacturingStatusFlags(p, receive);
  z40::SafetyStatusFlags(p, receive);
  z40::PFStatusFlags(p, receive);
  z40::ChargingStatusFlags(p, receive);

  PrintStandardLines(p, kMaxError, &ProgramState::buf, capacity_mode);
  if (p.StUnsealDevice != 0) {
    p.con.Dashes(Magenta, kSeparator);
    z40::QmaxSection(p, receive);
  }
  p.con.Dashes(Magenta, kSeparator);
  z40::IdentitySection(p, receive);
  p.con.Dashes(Magenta, kSeparator);

  DeltaCapacity(p);
  p.con.Dashes(Magenta, kSeparator);
  p.con.SetColour(Red);
}

}  // namespace reports
