#include "reports/bq9000/bq9000.h"

#include <climits>
#include <cstdint>

#include "reports/battery_values.h"
#include "reports/bq20z/cell_voltages.h"

namespace reports {

using namespace core;

namespace {

constexpr int kNoReply = -9;  // the gauge did not answer the read
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

int ReadWord(Program& p, int command) {
  p.status = p.bus.SMBReadWord(BatteryAddress, command);
  return p.status;
}

void Body(Program& p) {
  const int capacity_mode = CapacityMode(ReadWord(p, 0x03));
  p.Sleep(0);
  const int design_capacity = ReadWord(p, 0x18);
  p.Sleep(0);

  p.con.Print(Yellow, " Design Capacity:            ");
  PrintCapacity(p, White, design_capacity, capacity_mode);

  p.con.Print(Cyan, " Full Charge Capacity:...... ");
  PrintCapacity(p, Yellow, ReadWord(p, 0x10), capacity_mode);

  p.con.Print(Magenta, " Cycle Count:                ");
  p.con.Print(Green, "%u\n", static_cast<unsigned>(ReadWord(p, 0x17)));

  const int date = ReadWord(p, 0x1B);
  p.con.Print(Cyan, " Manufacture Date:..... ");
  PrintManufactureDate(p, date);

  p.con.Print(Yellow, " Design Voltage:             ");
  p.con.Print(White, "%u mV\n", static_cast<unsigned>(ReadWord(p, 0x19)));

  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x20, p.buf);
  p.Sleep(0);
  p.con.Print(Red, " Manufacturer Name:......... ");
  PrintBlockText(p, Red, p.buf, sizeof p.buf, p.status);

  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x21, p.buf);
  p.Sleep(0);
  p.con.Print(Green, " Device Name:                ");
  PrintBlockText(p, Green, p.buf, sizeof p.buf, p.status);

  const int serial = ReadWord(p, 0x1C);
  p.con.Print(Magenta, " Serial Number:............. %04X Hex\n", static_cast<unsigned>(serial));

  p.con.Print(Yellow, " Charging Voltage:           ");
  p.con.Print(Yellow, "%u mV\n", static_cast<unsigned>(ReadWord(p, 0x15)));

  p.con.Print(White, " Charging Current:.......... ");
  p.con.Print(White, "%u mA\n", static_cast<unsigned>(ReadWord(p, 0x14)));

  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x22, reinterpret_cast<std::uint8_t*>(p.tempStr),
                                sizeof p.tempStr);
  p.con.Print(Cyan, " Device Chemistry:           ");
  PrintChemistry(p, Red);

  const int temperature = ReadWord(p, 0x08);
  p.con.Print(Magenta, " Temperature:............... %02.02f C\n", static_cast<double>(Celsius(temperature)));

  p.con.Print(Yellow, " Voltage:                    ");
  p.con.Print(Yellow, "%u mV\n", static_cast<unsigned>(ReadWord(p, 0x09)));

  p.con.Print(White, " Current:................... ");
  p.con.Print(White, "%d mA\n", static_cast<int>(static_cast<std::int16_t>(ReadWord(p, 0x0A) & 0xFFFF)));

  const int relative = ReadWord(p, 0x0D);
  p.con.Print(Cyan, " RelativeSOC                 %u %%\n", static_cast<unsigned>(relative));

  const int absolute = ReadWord(p, 0x0E);
  p.con.Print(Green, " AbsoluteSOC................ %u %%\n", static_cast<unsigned>(absolute));

  const int remaining = ReadWord(p, 0x0F);
  p.con.Print(Yellow, " Remaining Capacity:         ");
  PrintCapacity(p, Magenta, remaining, capacity_mode);

  CellVoltages(p);
  p.con.Dashes(Magenta, 38);

  p.con.Print(Green, " Specification Info:........ ");
  p.con.Print(Yellow, "%04x Hex\n", static_cast<unsigned>(ReadWord(p, 0x1A)));
  p.con.Dashes(Magenta, 38);

  const int max_error = ReadWord(p, 0x0C);
  p.Sleep(0);
  p.con.Print(Cyan, " Max Error:                  ");
  p.con.Print(White, "%u %%\n", static_cast<unsigned>(max_error));
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
