#include <span>

#include "reports/bq9000/bq9000.h"
#include "reports/flag_lines.h"
#include "reports/smart_battery_flags.h"

namespace reports::bq9000_family {

using namespace core;

namespace {

// A text for one value of a bit field; a value without an entry writes nothing.
struct StateText {
  int value;
  int colour;
  const char* text;  // written as it stands
};

// A bit field of a status word decoded into one line.
struct StateLine {
  int low_bit;
  int width;
  std::span<const StateText> texts;
};

const StateText kErrorCodes[] = {
    {0, Green, " OK"},
    {1, Yellow, " BUSY"},
    {3, Red, " Unsupport Command"},
    {4, Red, " Access Denied"},
    {5, Red, " OverFlow/UnderFlow"},
    {6, Red, " Bad Size DATA"},
    {7, Red, " Unknown Error"},
};
const StateLine kErrorLine = {0, 4, kErrorCodes};

// The ManufacturerAccess word of this family packs the protection and charge
// state of the pack.
const StateText kChargeControl[] = {
    {0, Green, " Normal"},
    {1, Red, " Over Charge Wait"},
    {2, Green, " Charging Current control"},
};
const StateText kCellDifference[] = {
    {0, Cyan, " Cell-Volt diff (Max-Min) < 300mV Full-CHG"},
    {1, Cyan, " Cell-Volt diff (Max-Min) => 300mV Full-CHG"},
};
const StateText kFccCorrection[] = {
    {0, White, " FCC => 40% PRE-FCC Correction"},
    {1, Red, " FCC < 40% PRE-FCC Correction"},
};
const StateText kErrorState[] = {
    {0, Yellow, " Normal"},
    {1, Red, " Over-Volt det HW"},
    {2, Red, " Over-Volt det SW"},
    {3, Red, " FET Error"},
    {4, Red, " Cell-Short Error"},
    {5, Red, " Cell imbalance Error"},
    {7, Red, " Over Temp Error CHG"},
    {8, Red, " Over Temp Error DSG"},
    {10, Red, " Deeply DSG Error"},
    {12, Red, " FET Temp Error"},
    {13, Red, " Capacity Timer Error"},
};
const StateText kProtectionState[] = {
    {0, Green, " Normal"},
    {2, Green, " Fully CHG"},
    {3, Red, " Over Temp for CHG"},
    {4, Red, " Over Temp for DSG"},
    {5, Red, " Over DSG"},
    {6, Red, " Over CHG det S/W"},
    {8, Red, " DSG over Current det S/W"},
    {9, Red, " CHG over Current det S/W"},
    {10, Red, " Over Current det H/W"},
    {12, Red, " Vpack Low detect"},
    {15, Red, " SYSTEM fail(Err_CHKsumm,MEM,AFE,WhachDog,Slp)"},
};
const StateText kChargePhase[] = {
    {0, Red, " No CHG"},
    {1, Green, " Pre CHG"},
    {2, Green, " Normal CHG"},
    {3, Green, " Pulse CHG"},
};
const StateText kDischargeFet[] = {
    {0, Red, " DSG FET OFF"},
    {1, Yellow, " DSG FET ON"},
};
const StateText kChargeFet[] = {
    {0, Red, " CHG FET OFF"},
    {1, Yellow, " CHG FET ON"},
};

const StateLine kManufacturerAccessLines[] = {
    {0, 2, kChargeControl},  {2, 1, kCellDifference},  {3, 1, kFccCorrection}, {4, 4, kErrorState},
    {8, 4, kProtectionState}, {12, 2, kChargePhase},   {14, 1, kDischargeFet}, {15, 1, kChargeFet},
};

void WriteStateLine(Program& p, const StateLine& line, int word) {
  const int value = (word >> line.low_bit) & ((1 << line.width) - 1);
  for (const StateText& state : line.texts) {
    if (state.value == value) {
      p.con.Print(state.colour, "%s", state.text);
      break;
    }
  }
  p.con.NewLine();
}

void Separator(Program& p) { p.con.Dashes(Magenta, 38); }

}  // namespace

void StatusSection(Program& p) {
  p.tempWord = p.bus.SMBReadWord(BatteryAddress, 0x16);
  p.Sleep(1);
  p.con.Print(Cyan, " BatteryStatus (0x16):...... ");
  p.con.Print(Yellow, "%04X Hex\n", static_cast<unsigned>(p.tempWord));
  p.con.SetColour(Red);
  // This family's line stops at bit 4: its error code has a line of its own.
  FlagLine(p.con, kBatteryStatusFlags, static_cast<std::uint32_t>(p.tempWord), 15, 4);
  WriteStateLine(p, kErrorLine, p.tempWord);
  Separator(p);

  p.status = p.bus.SMBReadWord(BatteryAddress, 0x03);
  p.Sleep(0);
  p.con.Print(Cyan, " BatteryMode (0x03):........ ");
  p.con.Print(Yellow, "%04X Hex\n", static_cast<unsigned>(p.status));
  p.con.SetColour(Red);
  FlagLine(p.con, kBatteryModeFlags, static_cast<std::uint32_t>(p.status), 15, 0);
  Separator(p);

  p.con.Print(Yellow, " Manufacturer Access (0x00): ");
  p.tempWord = p.bus.SMBReadWord(BatteryAddress, 0x00);
  p.Sleep(1);
  p.con.Print(White, "%04X Hex\n", static_cast<unsigned>(p.tempWord));
  for (const StateLine& line : kManufacturerAccessLines) WriteStateLine(p, line, p.tempWord);
  Separator(p);
}

}  // namespace reports::bq9000_family
