#include "reports/bq20z/bq20z.h"

#include <cstdint>

#include "reports/battery_values.h"
#include "reports/bq20z/cell_voltages.h"
#include "reports/bq20z/seal_keys.h"
#include "reports/bq20z/status_registers.h"

namespace reports {

using namespace core;

namespace {

void Header(Program& p) {
  p.con.Print(Cyan, " PEC = %u\n", static_cast<unsigned>(p.VarPec));
  p.status = p.bus.SMBReadWord(BatteryAddress, 0x0D);
  p.con.Print(Yellow, " Read 0x0d:............... ");
  p.con.Print(White, "%04X Hex\n", static_cast<unsigned>(p.status));
  p.con.Dashes(Magenta, 39);
  p.con.Print(Green, "         Vantrel_bq20zXX");
  p.con.NewLine();
  p.con.Print(White, "           READ Battery Info");
  p.con.NewLine();
  p.con.Dashes(Magenta, 39);
}

// A gauge still in its boot ROM answers state of charge above 100 (or not at
// all); nothing else is worth reading then. True when the report must stop.
bool BootRomGuard(Program& p) {
  p.BootRom = (p.status < 0 || p.status > 100) ? 1 : 0;
  if (p.BootRom == 0) return false;
  p.con.Print(Red, "        Device in BOOT-rom mod.");
  p.con.NewLine();
  p.con.Print(White, "   Please FIRST EXIT BOOT-rom mod !!!");
  p.con.NewLine();
  p.con.Dashes(Cyan, 39);
  return true;
}

int ReadWord(Program& p, int command) {
  p.status = p.bus.SMBReadWord(BatteryAddress, command);
  return p.status;
}

// Smart Battery Data lines 1 to 17: each read, its sleep, then its line.
void StandardBatteryLines(Program& p, int capacity_mode) {
  ReadWord(p, 0x18);
  p.Sleep(1);
  p.con.Print(Yellow, " Design Capacity:            ");
  PrintCapacity(p, White, p.status, capacity_mode);

  ReadWord(p, 0x10);
  p.Sleep(1);
  p.con.Print(Cyan, " Full Charge Capacity:...... ");
  PrintCapacity(p, Yellow, p.status, capacity_mode);

  ReadWord(p, 0x17);
  p.Sleep(1);
  p.con.Print(Red, " Cycle Count:                ");
  p.con.Print(White, "%u\n", static_cast<unsigned>(p.status));

  ReadWord(p, 0x1B);
  p.con.Print(Cyan, " Manufacture Date:..... ");
  PrintManufactureDate(p, p.status);

  ReadWord(p, 0x19);
  p.Sleep(1);
  p.con.Print(Yellow, " Design Voltage:             ");
  p.con.Print(White, "%u mV\n", static_cast<unsigned>(p.status));

  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x20, p.buf);
  p.Sleep(2);
  p.con.Print(Red, " Manufacturer Name:......... ");
  PrintBlockText(p, Red, p.buf, sizeof p.buf, p.status);

  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x21, p.buf);
  p.Sleep(2);
  p.con.Print(Green, " Device Name:                ");
  PrintBlockText(p, Green, p.buf, sizeof p.buf, p.status);

  ReadWord(p, 0x1C);
  p.Sleep(1);
  p.con.Print(Magenta, " Serial Number:............. ");
  p.con.Print(Magenta, "%04X Hex\n", static_cast<unsigned>(p.status));

  ReadWord(p, 0x15);
  p.Sleep(1);
  p.con.Print(Yellow, " Charging Voltage:           ");
  p.con.Print(Yellow, "%u mV\n", static_cast<unsigned>(p.status));

  ReadWord(p, 0x14);
  p.Sleep(1);
  p.con.Print(White, " Charging Current:.......... ");
  p.con.Print(White, "%u mA\n", static_cast<unsigned>(p.status));

  // The bus never stores more than the 64 bytes of tempStr, whatever the
  // battery sends; the printed text stops at the buffer's end.
  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x22, reinterpret_cast<std::uint8_t*>(p.tempStr),
                                sizeof p.tempStr);
  p.Sleep(2);
  p.con.Print(Cyan, " Device Chemistry:           ");
  PrintChemistry(p, Red);

  ReadWord(p, 0x08);
  p.Sleep(1);
  p.con.Print(Magenta, " Temperature:............... ");
  p.con.Print(White, "%02.02f C\n", static_cast<double>(Celsius(p.status)));

  ReadWord(p, 0x09);
  p.Sleep(1);
  p.con.Print(Yellow, " Voltage:                    ");
  p.con.Print(Yellow, "%u mV\n", static_cast<unsigned>(p.status));

  ReadWord(p, 0x0A);
  p.Sleep(1);
  p.con.Print(White, " Current:................... ");
  p.con.Print(White, "%d mA\n", static_cast<int>(static_cast<std::int16_t>(p.status & 0xFFFF)));

  ReadWord(p, 0x0D);
  p.con.Print(Cyan, " RelativeSOC                 %u %%\n", static_cast<unsigned>(p.status));

  ReadWord(p, 0x0E);
  p.con.Print(Green, " AbsoluteSOC................ %u %%\n", static_cast<unsigned>(p.status));

  ReadWord(p, 0x0F);
  p.con.Print(Yellow, " Remaining Capacity:         ");
  PrintCapacity(p, Magenta, p.status, capacity_mode);
}

void SpecificationInfo(Program& p) {
  ReadWord(p, 0x1A);
  p.con.Print(Yellow, " Specification Info:........ ");
  p.con.Print(Green, "%04x Hex\n", static_cast<unsigned>(p.status));
}

void MaxError(Program& p) {
  ReadWord(p, 0x0C);
  p.Sleep(1);
  p.con.Print(White, " Max Error:                  ");
  p.con.Print(White, "%u %%\n", static_cast<unsigned>(p.status));
}

}  // namespace

void bq20z(Program& p) {
  p.con.ClearScreen();
  Header(p);
  if (BootRomGuard(p)) return;

  ReadWord(p, 0x03);
  p.Sleep(1);
  const int capacity_mode = CapacityMode(p.status);

  StandardBatteryLines(p, capacity_mode);
  CellVoltages(p);
  SpecificationInfo(p);
  p.con.Dashes(Magenta, 38);

  PrintBatteryStatus20z(p);
  PrintBatteryModeFlags20z(p);
  PrintOperationStatus20z(p);

  PrintSealUnsealDevice20z(p);
  if (p.StUnsealDevice != 0) PrintKeys20z(p);

  PrintSafetyPfChargingStatus20z(p);
  PrintFetControl20z(p);
  MaxError(p);

  if (p.StUnsealDevice != 0) PrintGaugeMemory20z(p);
  p.con.Dashes(Magenta, 37);

  PrintVersions20z(p);
  DeltaCapacity(p);
  p.con.Dashes(Magenta, 39);
  p.con.SetColour(Red);
}

}  // namespace reports
