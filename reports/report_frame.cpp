#include "reports/report_frame.h"

#include "reports/battery_values.h"

namespace reports {

using namespace core;

void ReportHeader(Program& p, const char* banner, const char* title) {
  p.con.Print(Cyan, " PEC = %u\n", static_cast<unsigned>(p.VarPec));
  p.status = p.bus.SMBReadWord(BatteryAddress, 0x0D);
  p.con.Print(Yellow, " Read 0x0d:............... ");
  p.con.Print(White, "%04X Hex\n", static_cast<unsigned>(p.status));
  p.con.Dashes(Magenta, 39);
  p.con.Print(Green, "%s", banner);
  p.con.NewLine();
  p.con.Print(White, "%s", title);
  p.con.NewLine();
  p.con.Dashes(Magenta, 39);
}

bool StopInBootRom(Program& p) {
  p.BootRom = BootRomFromStateOfCharge(p.status);
  if (p.BootRom == 0) return false;
  p.con.Print(Red, "        Device in BOOT-rom mod.");
  p.con.NewLine();
  p.con.Print(White, "   Please FIRST EXIT BOOT-rom mod !!!");
  p.con.NewLine();
  p.con.Dashes(Cyan, 39);
  return true;
}

void EndReport(Program& p) {
  DeltaCapacity(p);
  p.con.Dashes(Magenta, 39);
  p.con.SetColour(Red);
}

}  // namespace reports
