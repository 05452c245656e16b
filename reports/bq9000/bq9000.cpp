// The bq9000-family report, its steps in the order the screen shows them.

#include "reports/bq9000/bq9000.h"

#include "reports/battery_values.h"
#include "reports/bq9000/internal.h"
#include "reports/cell_voltages.h"

namespace reports {

using namespace core;
using namespace bq9000_family;

namespace {

void DetectMode(Program& p) {
  const ModeWords words = ReadModeWords(p);
  p.status = words.word72 != kNoReply ? words.word72 : words.word0d;
  const ModeRule& rule = MatchModeRule(words);
  p.BootRom = rule.boot_rom;
  switch (rule.line) {
    case DetectionLine::Word72:
      p.con.Print(Cyan, " RW 0x72 = %04X\n", static_cast<unsigned>(words.word72));
      break;
    case DetectionLine::Word0D:
      p.con.Print(Cyan, " RW 0x0D = %04X\n", static_cast<unsigned>(words.word0d));
      break;
    case DetectionLine::BootRomWord:
      p.con.Print(Cyan, " BootRom = %04X\n", static_cast<unsigned>(words.word0d));
      break;
    case DetectionLine::None:
      break;
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

}  // namespace

void bq9000(Program& p) {
  if (!Header(p)) return;

  const int capacity_mode = ReadCapacityMode(p, 0);
  PrintStandardLines(p, kStandardLines, &ProgramState::buf, capacity_mode);
  CellVoltages(p);
  p.con.Dashes(Magenta, 38);

  PrintStandardLines(p, kSpecificationInfo, &ProgramState::buf, capacity_mode);
  p.con.Dashes(Magenta, 38);
  PrintStandardLines(p, kMaxError, &ProgramState::buf, capacity_mode);
  p.con.Dashes(Magenta, 38);

  StatusSection(p);
  DeltaCapacity(p);
  p.con.Print(Magenta, "---------------------------------------\n");
  p.con.NewLine();
  p.con.SetColour(Red);
}

namespace bq9000_family {

void StatusSection(Program& p) { PrintRegisters(p, kStatusSection); }

}  // namespace bq9000_family

}  // namespace reports
