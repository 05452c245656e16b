#include "reports/bq40z/bq40z.h"

#include "reports/battery_values.h"
#include "reports/bq20z/cell_voltages.h"

namespace reports {

using namespace core;

namespace {

constexpr int kSeparator = 39;

int ReadWord(Program& p, int command) {
  p.status = p.bus.SMBReadWord(BatteryAddress, command);
  return p.status;
}

int ReadBlock(Program& p, int command) {
  p.status = p.bus.SMBReadBlock(BatteryAddress, command, p.buf);
  return p.status;
}

// Header and boot-ROM guard; false when the gauge is in boot-ROM mode.
bool HeaderAndGuard(Program& p) {
  p.con.Print(Cyan, " PEC = %u\n", static_cast<unsigned>(p.VarPec));
  ReadWord(p, 0x0D);
  p.con.Print(Yellow, " Read 0x0d:............... ");
  p.con.Print(White, "%04X Hex\n", static_cast<unsigned>(p.status));
  p.con.Dashes(Magenta, kSeparator);
  p.con.Print(Green, "         Vantrel-bq40z50");
  p.con.NewLine();
  p.con.Print(White, "          READ  Battery Info");
  p.con.NewLine();
  p.con.Dashes(Magenta, kSeparator);

  p.BootRom = (p.status < 0 || p.status > 100) ? 1 : 0;
  if (p.BootRom == 1) {
    p.con.Print(Red, "        Device in BOOT-rom mod.");
    p.con.NewLine();
    p.con.Print(White, "   Please FIRST EXIT BOOT-rom mod !!!");
    p.con.NewLine();
    p.con.Dashes(Cyan, kSeparator);
    return false;
  }
  return true;
}

void StandardLines(Program& p, int capacity_mode) {
  // 1
  ReadWord(p, 0x18);
  p.Sleep(0);
  p.con.Print(Yellow, " Design Capacity:            ");
  PrintCapacity(p, White, p.status, capacity_mode);
  // 2
  p.con.Print(Cyan, " Full Charge Capacity:...... ");
  p.con.SetColour(Yellow);
  ContinueCapacity(p, ReadWord(p, 0x10), capacity_mode);
  // 3
  p.con.Print(Magenta, " Cycle Count:                ");
  p.con.SetColour(White);
  p.con.Continue("%u\n", static_cast<unsigned>(ReadWord(p, 0x17)));
  // 4
  ReadWord(p, 0x1B);
  p.con.Print(Cyan, " Manufacture Date:..... ");
  PrintManufactureDate(p, p.status);
  // 5
  p.con.Print(Yellow, " Design Voltage:             ");
  p.con.SetColour(White);
  p.con.Continue("%u mV\n", static_cast<unsigned>(ReadWord(p, 0x19)));
  // 6
  ReadBlock(p, 0x20);
  p.con.Print(Red, " Manufacturer Name:......... ");
  PrintBlockText(p, Red, p.buf, sizeof p.buf, p.status);
  // 7
  ReadBlock(p, 0x21);
  p.con.Print(Green, " Device Name:                ");
  PrintBlockText(p, Green, p.buf, sizeof p.buf, p.status);
  // 8
  p.con.Print(Cyan, " Serial Number:............. ");
  p.con.SetColour(Cyan);
  p.con.Continue("%04X HEX\n", static_cast<unsigned>(ReadWord(p, 0x1C)));
  // 9
  p.con.Print(Yellow, " Charging Voltage:           ");
  p.con.SetColour(Yellow);
  p.con.Continue("%u mV\n", static_cast<unsigned>(ReadWord(p, 0x15)));
  // 10
  p.con.Print(White, " Charging Current:.......... ");
  p.con.SetColour(White);
  p.con.Continue("%u mA\n", static_cast<unsigned>(ReadWord(p, 0x14)));
  // 11
  ReadBlock(p, 0x22);
  p.con.Print(Magenta, " Device Chemistry:           ");
  PrintBlockText(p, Magenta, p.buf, sizeof p.buf, p.status);
  // 12
  ReadWord(p, 0x08);
  p.con.Print(Cyan, " Temperature:............... %02.02f C\n", static_cast<double>(Celsius(p.status)));
  // 13
  p.con.Print(Yellow, " Voltage:                    ");
  p.con.SetColour(Yellow);
  p.con.Continue("%u mV\n", static_cast<unsigned>(ReadWord(p, 0x09)));
  // 14
  p.con.Print(White, " Current:................... ");
  p.con.SetColour(White);
  p.con.Continue("%d mA\n", static_cast<int>(static_cast<std::int16_t>(ReadWord(p, 0x0A) & 0xFFFF)));
  // 15
  ReadWord(p, 0x0D);
  p.con.Print(Cyan, " RelativeSOC                 %u %%\n", static_cast<unsigned>(p.status));
  // 16
  ReadWord(p, 0x0E);
  p.con.Print(Green, " AbsoluteSOC................ %u %%\n", static_cast<unsigned>(p.status));
  // 17
  ReadWord(p, 0x0F);
  p.con.Print(Yellow, " Remaining Capacity:         ");
  PrintCapacity(p, Magenta, p.status, capacity_mode);
}

void SpecificationInfo(Program& p) {
  p.con.Print(Green, " Specification Info:........ ");
  p.con.SetColour(Yellow);
  p.con.Continue("%04x Hex\n", static_cast<unsigned>(ReadWord(p, 0x1A)));
}

void MaxError(Program& p) {
  ReadWord(p, 0x0C);
  p.Sleep(1);
  p.con.Print(Cyan, " Max Error:                  ");
  p.con.Print(White, "%u %%\n", static_cast<unsigned>(p.status));
}

}  // namespace

void bq40z(Program& p) {
  z40::ReportBuffer receive;
  p.con.ClearScreen();
  if (!HeaderAndGuard(p)) return;

  std::memset(receive, 0, sizeof receive);
  ReadWord(p, 0x03);
  p.Sleep(0);
  const int capacity_mode = CapacityMode(p.status);

  StandardLines(p, capacity_mode);
  CellVoltages(p);
  SpecificationInfo(p);
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

  MaxError(p);
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
