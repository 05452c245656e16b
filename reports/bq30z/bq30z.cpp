#include "reports/bq30z/bq30z.h"

#include <cstdint>

#include "reports/battery_values.h"
#include "reports/bq20z/cell_voltages.h"
#include "reports/bq30z/bq30z_parts.h"

namespace reports {

using namespace core;
using namespace bq30z_parts;

namespace {

constexpr int kWide = 39;    // header, boot-ROM block and closing separator

void Header(Program& p) {
  p.con.Print(Cyan, " PEC = %u\n", static_cast<unsigned>(p.VarPec));
  p.status = p.bus.SMBReadWord(BatteryAddress, 0x0D);
  p.con.Print(Yellow, " Read 0x0d:............... ");
  p.con.Print(White, "%04X Hex\n", static_cast<unsigned>(p.status));
  p.con.Dashes(Magenta, kWide);
  p.con.Print(Green, "          Vantrel-bq30z55");
  p.con.NewLine();
  p.con.Print(White, "            READ Battery Info");
  p.con.NewLine();
  p.con.Dashes(Magenta, kWide);
}

// A gauge in boot-ROM mode answers nothing useful: say so and stop.
bool BootRomGuard(Program& p) {
  p.BootRom = (p.status < 0 || p.status > 100) ? 1 : 0;
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

int ReadWord(Program& p, int command) {
  p.status = p.bus.SMBReadWord(BatteryAddress, command);
  return p.status;
}

// A text block into buff, then the pause the gauge needs after it.
void ReadText(Program& p, int command) {
  p.status = p.bus.SMBReadBlock(BatteryAddress, command, p.buff);
  p.Sleep(3);
}

void StandardLines(Program& p, int capacity_mode) {
  ReadWord(p, 0x18);
  p.con.Print(Yellow, " Design Capacity:            ");
  PrintCapacity(p, White, p.status, capacity_mode);

  ReadWord(p, 0x10);
  p.con.Print(Cyan, " Full Charge Capacity:...... ");
  PrintCapacity(p, Yellow, p.status, capacity_mode);

  ReadWord(p, 0x17);
  p.con.Print(Magenta, " Cycle Count:                ");
  p.con.Print(Green, "%u\n", static_cast<unsigned>(p.status));

  ReadWord(p, 0x1B);
  p.con.Print(Cyan, " Manufacture Date:..... ");
  PrintManufactureDate(p, p.status);

  ReadWord(p, 0x19);
  p.con.Print(Yellow, " Design Voltage:             ");
  p.con.Print(White, "%u mV\n", static_cast<unsigned>(p.status));

  ReadText(p, 0x20);
  p.con.Print(Red, " Manufacturer Name:......... ");
  PrintBlockText(p, Red, p.buff, sizeof p.buff, p.status);

  ReadText(p, 0x21);
  p.con.Print(Green, " Device Name:                ");
  PrintBlockText(p, Green, p.buff, sizeof p.buff, p.status);

  ReadWord(p, 0x1C);
  p.con.Print(Magenta, " Serial Number:............. %04X Hex\n", static_cast<unsigned>(p.status));

  ReadWord(p, 0x15);
  p.con.Print(Yellow, " Charging Voltage:           ");
  p.con.Print(Yellow, "%u mV\n", static_cast<unsigned>(p.status));

  ReadWord(p, 0x14);
  p.con.Print(White, " Charging Current:.......... ");
  p.con.Print(White, "%u mA\n", static_cast<unsigned>(p.status));

  ReadText(p, 0x22);
  p.con.Print(Cyan, " Device Chemistry:           ");
  PrintBlockText(p, Red, p.buff, sizeof p.buff, p.status);

  ReadWord(p, 0x08);
  p.con.Print(Green, " Temperature:............... %02.02f C\n", static_cast<double>(Celsius(p.status)));

  ReadWord(p, 0x09);
  p.con.Print(Yellow, " Voltage:                    ");
  p.con.Print(Yellow, "%u mV\n", static_cast<unsigned>(p.status));

  ReadWord(p, 0x0A);
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

}  // namespace

void bq30z(Program& p) {
  p.con.ClearScreen();
  Header(p);
  if (BootRomGuard(p)) return;

  const int capacity_mode = CapacityMode(ReadWord(p, 0x03));
  StandardLines(p, capacity_mode);
  CellVoltages(p);

  ReadWord(p, 0x1A);
  p.con.Print(Yellow, " Specification Info:........ ");
  p.con.Print(Green, "%04x Hex\n", static_cast<unsigned>(p.status));
  p.con.Dashes(Magenta, kNarrow);

  BatteryStatus(p);
  p.con.Dashes(Magenta, kNarrow);
  OperationStatus(p);
  PrintSealUnsealDevicez30(p);
  GaugeStatusRegisters(p);

  ReadWord(p, 0x0C);
  p.con.Print(Cyan, " Max Error:                  ");
  p.con.Print(White, "%u %%\n", static_cast<unsigned>(p.status));
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
