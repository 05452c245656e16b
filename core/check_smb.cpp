#include "core/discovery.h"

namespace core {

namespace {

constexpr int kFirstAttemptNumber = 60;

void NoBatteryScreen(Program& p, int manuf_access, int state_of_charge, int counter) {
  p.con.Dashes(Cyan, 39);
  p.con.Print(Magenta, " ManufAccess:............. ");
  p.con.Print(Magenta, "%04X Hex\n\n", static_cast<unsigned>(manuf_access));
  p.con.Print(Yellow, " Read 0x0d:............... ");
  p.con.Print(White, "%04X Hex\n", static_cast<unsigned>(state_of_charge));
  p.con.Dashes(Cyan, 39);
  p.con.Print(Red, "       NO Read SMBus Device...\n");
  p.con.NewLine();
  p.con.Print(Yellow, "      Please Connect DEVICE !!!\n");
  p.con.NewLine();
  p.con.Print(Cyan, "          Read Number ");
  p.con.Print(White, "%u ...\n", static_cast<unsigned>(counter));
  p.con.Dashes(Cyan, 39);
}

}  // namespace

BatteryProbe ProbeBattery(Program& p) {
  BatteryProbe probe{};
  probe.manuf_access = p.bus.SMBReadWord(BatteryAddress, 0x00);
  p.Sleep(1);
  probe.state_of_charge = p.bus.SMBReadWord(BatteryAddress, 0x0D);
  p.Sleep(1);
  return probe;
}

void CheckSMB(Program& p) {
  int counter = kFirstAttemptNumber;
  do {
    p.con.ClearScreen();
    const BatteryProbe probe = ProbeBattery(p);
    if (probe.Answered()) return;
    NoBatteryScreen(p, probe.manuf_access, probe.state_of_charge, counter);
    p.Sleep(1000);
    p.Beep(800, 100);
    --counter;
    CheckDevice(p);
  } while (counter >= 0);
}

}  // namespace core
