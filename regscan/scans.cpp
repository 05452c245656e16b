#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "regscan/regscan.h"

namespace regscan {

using namespace core;

namespace {

struct Segment {
  int colour;
  const char* text;
};

// What one member does with register R: the read (and the write before it)
// and the result it returns.
using BusSteps = int (*)(Program& p, int reg);

enum class OutputForm { Word, Block };

// The four screens are one family; this is everything that tells them apart.
struct Member {
  Segment title[3];
  BusSteps steps;
  OutputForm form;
  std::uint8_t (ProgramState::*block)[256] = nullptr;  // where a block member's reply goes
  bool wide_register = false;                           // R shown with four hexadecimal digits
  bool blank_line_after_block = false;
  bool blank_lines_in_mode_block = false;
  bool writes_register_number = false;  // R goes to ManufacturerAccess first
  int closing_dashes;
  void (*done)(Program& p, int start);  // the done line
};

void WordScanDone(Program& p, int start) {
  p.con.Print(Green, "  Test READ-WORD from 0x%02X to 0xFF registr Done!\n", static_cast<unsigned>(start));
}

void BlockScanDone(Program& p, int start) {
  p.con.Print(Green, "  Test READ-BLOCK from 0x%02X to 0xFF registr Done!\n", static_cast<unsigned>(start));
}

void Block23ScanDone(Program& p, int start) {
  p.con.Print(Green, "  READ-BLOCK[23] from 0x%02X to 0xFF registr Done!\n", static_cast<unsigned>(start));
}

const Member kReadWord = {
    .title = {{White, "     Test "}, {Yellow, "READ-WORD "}, {White, "from 0x00 to 0xFF registr"}},
    .steps = [](Program& p, int reg) {
      const int result = p.bus.SMBReadWord(BatteryAddress, reg);
      p.Sleep(1);
      return result;
    },
    .form = OutputForm::Word,
    .closing_dashes = 49,
    .done = WordScanDone};

const Member kReadWord00 = {
    .title = {{Yellow, " READ-WORD "}, {Cyan, "After RegXX => WR[00] "}, {White, "0x00 to 0xFF"}},
    .steps = [](Program& p, int reg) {
      p.bus.SMBWriteWord(BatteryAddress, 0x00, reg);
      p.Sleep(1);
      const int result = p.bus.SMBReadWord(BatteryAddress, 0x00);
      p.Sleep(1);
      return result;
    },
    .form = OutputForm::Word,
    .writes_register_number = true,
    .closing_dashes = 49,
    .done = WordScanDone};

const Member kReadBlock = {
    .title = {{White, "     Test "}, {Yellow, "READ-BLOCK "}, {White, "from 0x00 to 0xFF registr"}},
    .steps = [](Program& p, int reg) {
      const int result = p.bus.SMBReadBlock(BatteryAddress, reg, p.block);
      p.Sleep(30);
      return result;
    },
    .form = OutputForm::Block,
    .block = &ProgramState::block,
    .blank_lines_in_mode_block = true,
    .closing_dashes = 51,
    .done = BlockScanDone};

const Member kReadBlock23 = {
    .title = {{White, "   Test "}, {Yellow, "READ-BLOCK [23] "}, {White, "from 0x00 to 0xFF registr"}},
    .steps = [](Program& p, int reg) {
      p.bus.SMBWriteWord(BatteryAddress, 0x00, reg);
      const int result = p.bus.SMBReadBlock(BatteryAddress, 0x23, p.buf);
      p.Sleep(10);
      return result;
    },
    .form = OutputForm::Block,
    .block = &ProgramState::buf,
    .wide_register = true,
    .blank_line_after_block = true,
    .writes_register_number = true,
    .closing_dashes = 51,
    .done = Block23ScanDone};

struct ModeName {
  int boot_rom;
  const char* prefix;
  const char* name;
};

const ModeName kModeNames[] = {
    {.boot_rom = 0, .prefix = "          DEVICE starting in ", .name = "Normal-mode"},
    {.boot_rom = 1, .prefix = "           DEVICE starting in ", .name = "BOOT-mode"},
    {.boot_rom = 2, .prefix = "        DEVICE starting in ", .name = "Calibtate-mode"},
};

void ModeBlock(Program& p, const Member& member) {
  for (const ModeName& mode : kModeNames) {
    if (mode.boot_rom != p.BootRom) continue;
    p.con.Dashes(White, 49);
    if (member.blank_lines_in_mode_block) p.con.NewLine();
    p.con.Print(Red, "%s", mode.prefix);
    p.con.Print(Yellow, "%s", mode.name);
    p.con.NewLine();
    if (member.blank_lines_in_mode_block) p.con.NewLine();
    p.con.Dashes(White, 49);
    if (member.blank_lines_in_mode_block) p.con.NewLine();
    return;
  }
}

void WordOutput(Program& p, int reg, int result) {
  if (result == smb::kNotAcknowledged) return;
  p.con.Print(Cyan, " Read-WORD From ");
  p.con.Print(White, "0x%02x = ", static_cast<unsigned>(reg));
  p.con.Print(Yellow, "%04X\n\n", static_cast<unsigned>(result));
}

void BlockOutput(Program& p, const Member& member, int reg, int count) {
  const std::uint8_t(&data)[256] = p.*member.block;
  p.con.Print(Cyan, " Read-BLOCK from ");
  if (member.wide_register) {
    p.con.Print(Red, "0x%04x : ", static_cast<unsigned>(reg));
  } else {
    p.con.Print(Red, "0x%02x : ", static_cast<unsigned>(reg));
  }
  p.con.Print(Cyan, "%u byte\n", static_cast<unsigned>(count));
  if (count == smb::kNotAcknowledged) {
    p.con.Print(Red, "Not Read");
  } else {
    p.con.Print(Green, " Block:");
    p.con.SetColour(White);
    // The battery may announce more bytes than the buffer holds; only those
    // stored are listed.
    const std::size_t stored = count > 0 ? std::min(static_cast<std::size_t>(count), sizeof data) : 0;
    for (std::size_t i = 0; i < stored; ++i) p.con.Continue(" %02X", static_cast<unsigned>(data[i]));
  }
  p.con.NewLine();
  if (member.blank_line_after_block) p.con.NewLine();
}

// A register number that would make the gauge act when written to
// ManufacturerAccess is shown instead of sent: it explores nothing.
void NotSentOutput(Program& p, const Member& member, int reg) {
  if (member.form == OutputForm::Word) {
    p.con.Print(Cyan, " Read-WORD From ");
    p.con.Print(White, "0x%02x = ", static_cast<unsigned>(reg));
    p.con.Print(Red, "not sent: a command that changes the gauge\n\n");
  } else {
    p.con.Print(Cyan, " Read-BLOCK from ");
    p.con.Print(Red, "0x%04x : ", static_cast<unsigned>(reg));
    p.con.Print(Red, "not sent: a command that changes the gauge");
    p.con.NewLine();
    p.con.NewLine();
  }
}

void Scan(Program& p, const Member& member) {
  p.con.Print(Cyan, " PEC = %u\n", static_cast<unsigned>(p.VarPec));
  p.con.Dashes(Magenta, 49);
  p.con.Print(Green, "                Vantrel_FM3DXY");
  p.con.NewLine();
  for (const Segment& segment : member.title) p.con.Print(segment.colour, "%s", segment.text);
  p.con.NewLine();
  p.con.Dashes(Magenta, 49);
  CheckBoot(p);
  ModeBlock(p, member);
  p.con.Print(Magenta, "        Enter First Registr to read in HEX\n");
  p.con.NewLine();
  p.con.Print(Yellow, "               Format in HEX : 23");
  p.con.NewLine();
  const int start = Enter2digitHEX(p);
  p.con.Dashes(Cyan, 49);
  for (int reg = start; reg <= 0xFF; ++reg) {
    if (member.writes_register_number && smb::ActsOnGauge(reg)) {
      NotSentOutput(p, member, reg);
      continue;
    }
    p.status = member.steps(p, reg);
    if (member.form == OutputForm::Word) {
      WordOutput(p, reg, p.status);
    } else {
      BlockOutput(p, member, reg, p.status);
    }
  }
  p.con.Dashes(White, member.closing_dashes);
  member.done(p, start);
  p.con.Print(White, "%s\n", std::string(static_cast<std::size_t>(member.closing_dashes), '-').c_str());
  p.con.NewLine();
}

}  // namespace

void TestReadWord(Program& p) { Scan(p, kReadWord); }
void TestReadWord_00(Program& p) { Scan(p, kReadWord00); }
void TestReadBlock(Program& p) { Scan(p, kReadBlock); }
void TestReadBlock_23(Program& p) { Scan(p, kReadBlock23); }

}  // namespace regscan
