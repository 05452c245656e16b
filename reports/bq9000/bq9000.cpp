#include "reports/bq9000/bq9000.h"

#include <climits>
#include <cstdint>

#include "reports/battery_values.h"
#include "reports/cell_voltages.h"
#include "reports/standard_lines.h"

namespace reports {

using namespace core;

namespace {

constexpr int kNoReply = smb::kNotAcknowledged;  // the gauge did not answer the read
constexpr int kAnyOther = INT_MIN;

// Which line the mode detection writes.
enum class DetectionLine { None, Word72, Word0D, BootRomWord };

// Word 0x72 answers only in normal mode (0) and in calibration mode (0x1111).
// When it is not answered at all, the state of charge register tells the boot
// ROM (its version word) from a normal gauge (a percentage).
struct ModeRule {
  int word72;          // kAnyOther: any value no earlier row matched
  int min0d, max0d;    // word 0x0D range; read only when word 0x72 is not answered
  int boot_rom;
  DetectionLine line;
};

const ModeRule kModeRules[] = {
    {0, INT_MIN, INT_MAX, 0, DetectionLine::Word72},
    {0x1111, INT_MIN, INT_MAX, 3, DetectionLine::Word72},
    {kNoReply, INT_MIN, 100, 0, DetectionLine::Word0D},
    {kNoReply, 0x0502, 0x0502, 2, DetectionLine::BootRomWord},
    {kNoReply, 0x0504, 0x0504, 2, DetectionLine::BootRomWord},
    {kNoReply, 0x0301, 0x0301, 2, DetectionLine::BootRomWord},
    {kNoReply, 0x9002, 0x9002, 1, DetectionLine::BootRomWord},
    {kNoReply, INT_MIN, INT_MAX, 4, DetectionLine::None},
    {kAnyOther, INT_MIN, INT_MAX, 4, DetectionLine::None},
};

struct ModeLine {
  int boot_rom;
  const char* prefix;
  const char* name;
  bool report_goes_on;
};

const ModeLine kModeLines[] = {
    {0, "     DEVICE starting in ", "Normal-mode", true},
    {1, "     DEVICE starting in ", "BOOT-ROM mod", false},
    {2, "     DEVICE starting in ", "BOOT-ROM mod", false},
    {3, "   DEVICE starting in ", "Calibration-mode", false},
    {4, "    DEVICE starting in ", "UNCKNOWN-mode", true},
};

void DetectMode(Program& p) {
  const int word72 = p.bus.SMBReadWord(BatteryAddress, 0x72);
  p.Sleep(5);
  int word0d = 0;
  if (word72 == kNoReply) {
    word0d = p.bus.SMBReadWord(BatteryAddress, 0x0D);
    p.Sleep(5);
  }
  p.status = word72 == kNoReply ? word0d : word72;
  for (const ModeRule& rule : kModeRules) {
    if (rule.word72 != kAnyOther && rule.word72 != word72) continue;
    if (word72 == kNoReply && (word0d < rule.min0d || word0d > rule.max0d)) continue;
    p.BootRom = rule.boot_rom;
    switch (rule.line) {
      case DetectionLine::Word72:
        p.con.Print(Cyan, " RW 0x72 = %04X\n", static_cast<unsigned>(word72));
        break;
      case DetectionLine::Word0D:
        p.con.Print(Cyan, " RW 0x0D = %04X\n", static_cast<unsigned>(word0d));
        break;
      case DetectionLine::BootRomWord:
        p.con.Print(Cyan, " BootRom = %04X\n", static_cast<unsigned>(word0d));
        break;
      case DetectionLine::None:
        break;
    }
    return;
  }
}

// The header; false when the gauge's mode leaves nothing more to read.
bool Header(Program& p) {
  p.con.ClearScreen();
  p.BootRom = 4;
  DetectMode(p);
  p.con.Print(Cyan, " PEC = %u\n", static_cast<unsigned>(p.VarPec));
  p.con.Dashes(Magenta, 40);
  p.con.Print(Green, "           Vantrel-bq9000\n");
  p.con.NewLine();
  for (const ModeLine& mode : kModeLines) {
    if (mode.boot_rom != p.BootRom) continue;
    p.con.Print(White, "%s", mode.prefix);
    p.con.Print(Yellow, "%s", mode.name);
    p.con.NewLine();
    p.con.Dashes(Magenta, 40);
    return mode.report_goes_on;
  }
  return true;
}

// Rows 1 to 17. Row 1 takes the Design Capacity read right after
// BatteryMode; in the label-first rows the value colour is set before the
// word is read.
const StandardLine kStandardLines[] = {
    {" Design Capacity:            ", Yellow, White, 0x18, 0, ValueRule::Capacity},
    {" Full Charge Capacity:...... ", Cyan, Yellow, 0x10, kNoSleep, ValueRule::Capacity, Order::LabelFirst},
    {" Cycle Count:                ", Magenta, Green, 0x17, kNoSleep, ValueRule::Decimal, Order::LabelFirst},
    {" Manufacture Date:..... ", Cyan, Yellow, 0x1B, kNoSleep, ValueRule::Date},
    {" Design Voltage:             ", Yellow, White, 0x19, kNoSleep, ValueRule::MilliVolts, Order::LabelFirst},
    {" Manufacturer Name:......... ", Red, Red, 0x20, 0, ValueRule::Text},
    {" Device Name:                ", Green, Green, 0x21, 0, ValueRule::Text},
    {nullptr, Magenta, Magenta, 0x1C, kNoSleep, ValueRule::SerialLine},
    {" Charging Voltage:           ", Yellow, Yellow, 0x15, kNoSleep, ValueRule::MilliVolts, Order::LabelFirst},
    {" Charging Current:.......... ", White, White, 0x14, kNoSleep, ValueRule::MilliAmps, Order::LabelFirst},
    {" Device Chemistry:           ", Cyan, Red, 0x22, kNoSleep, ValueRule::Chemistry},
    {nullptr, Magenta, Magenta, 0x08, kNoSleep, ValueRule::TemperatureLine},
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
    {" Max Error:                  ", Cyan, White, 0x0C, 0, ValueRule::Percent},
};

void Body(Program& p) {
  const int capacity_mode = ReadCapacityMode(p, 0);
  PrintStandardLines(p, kStandardLines, &ProgramState::buf, capacity_mode);
  CellVoltages(p);
  p.con.Dashes(Magenta, 38);

  PrintStandardLines(p, kSpecificationInfo, &ProgramState::buf, capacity_mode);
  p.con.Dashes(Magenta, 38);
  PrintStandardLines(p, kMaxError, &ProgramState::buf, capacity_mode);
  p.con.Dashes(Magenta, 38);

  bq9000_family::StatusSection(p);
  DeltaCapacity(p);
  p.con.Print(Magenta, "---------------------------------------\n");
  p.con.NewLine();
  p.con.SetColour(Red);
}

}  // namespace

void bq9000(Program& p) {
  if (!Header(p)) return;
  Body(p);
}

}  // namespace reports
