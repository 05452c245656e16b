#include <cctype>
#include <cstdio>

#include "app/program_main.h"
#include "core/discovery.h"
#include "regscan/regscan.h"
#include "reports/bq20z/bq20z.h"
#include "reports/bq30z/bq30z.h"
#include "reports/bq40z/bq40z.h"
#include "reports/bq9000/bq9000.h"

namespace app {

using namespace core;

namespace {

struct Segment {
  int colour;
  const char* text;
};

struct MenuRow {
  Segment segments[4];
  bool line_end;
};

constexpr const char* k40 = "----------------------------------------";
constexpr const char* k40n = "----------------------------------------\n";
constexpr const char* k39n = "---------------------------------------\n";

const MenuRow kMenu[] = {
    {{{Magenta, k40}}, true},
    {{{Green, "         Vantrel\n"}}, true},
    {{{Magenta, k40}}, true},
    {{{White, "            SELECT AN ACTION"}}, true},
    {{{Magenta, k40n}}, true},
    {{{Yellow, "   1. "}, {Green, "READ "}, {Yellow, "bq20zXXX "}, {Cyan, "Info\n"}}, true},
    {{{White, "   2. "}, {Green, "READ "}, {White, "bq30zXXX "}, {Cyan, "Info\n"}}, true},
    {{{Yellow, "   3. "}, {Green, "READ "}, {Yellow, "bq40zXXX "}, {Cyan, "Info\n"}}, true},
    {{{White, "   4. "}, {Green, "READ "}, {White, "bq9000/8050/8055/8030/\n"}}, true},
    {{{White, "      /m37512... "}, {Yellow, "and other "}, {Cyan, "Info\n"}}, true},
    {{{Magenta, k39n}}, true},
    {{{Yellow, "   5. "}, {White, "PEC = "}, {Green, "ON\n"}}, true},
    {{{Yellow, "   6. "}, {White, "PEC = "}, {Red, "OFF\n"}}, true},
    {{{Magenta, k39n}}, true},
    {{{White, "   Z. "}, {Yellow, "TEST "}, {Green, "Read WORD "}, {Cyan, "from 0x00 to 0xFF\n"}}, true},
    {{{Yellow, "   Y. "}, {Green, "Read WORD Reg[00] : \n"}}, true},
    {{{Red, "   Write"}, {Yellow, "[00WW] => [00]:"}, {Cyan, "WW = 0x00 to 0xFF\n"}}, true},
    {{{Magenta, k40n}}, true},
    {{{White, "   X. "}, {Yellow, "TEST "}, {White, "Read BLOCK "}, {Cyan, "from 0x00 to 0xFF\n"}}, true},
    {{{Yellow, "   B. "}, {Green, "Read Block Reg[23] : \n"}}, true},
    {{{Red, "  Write"}, {Yellow, "[00WW] => [00]:"}, {Cyan, "WW = 0x00 to 0xFF\n"}}, true},
    {{{Magenta, k40n}}, true},
    {{{Yellow, "   0. "}, {Red, "EXIT\n"}}, true},
    {{{Magenta, k40n}}, true},
    {{{Yellow, "        YOUR CHOICE: "}}, false},
};

void DrawMenu(Program& p) {
  for (const MenuRow& row : kMenu) {
    for (const Segment& segment : row.segments) {
      if (segment.text != nullptr) p.con.Print(segment.colour, "%s", segment.text);
    }
    if (row.line_end) p.con.NewLine();
  }
  p.con.SetColour(White);
}

void SetPec(Program& p, int on) {
  p.con.ClearScreen();
  p.bus.SMBEnablePEC(on);
  p.Sleep(5);
  p.VarPec = on;
  p.con.Print(Magenta, "----------------------------------------\n");
  p.con.NewLine();
  p.con.Print(Cyan, "        SMB ");
  p.con.Print(Yellow, "Enable-PEC ");
  if (on != 0) {
    p.con.Print(Green, "ON ");
  } else {
    p.con.Print(Red, "OFF ");
  }
  p.con.Print(White, "DONE !!!\n");
  p.con.NewLine();
  p.con.Print(Magenta, "----------------------------------------\n");
  p.con.NewLine();
}

void Exit(Program& p) {
  p.con.SetColour(White);
  p.bus.SMBCloseDevice();
  throw ProgramEnd{0};
}

struct Choice {
  char key;  // upper case for letters; either case is accepted
  bool check;
  bool clear_screen;
  void (*action)(Program&);
  bool pause;
};

const Choice kChoices[] = {
    {'0', false, false, Exit, false},
    {'1', true, false, reports::bq20z, true},
    {'2', true, false, reports::bq30z, true},
    {'3', true, false, reports::bq40z, true},
    {'4', true, false, reports::bq9000, true},
    {'5', false, false, [](Program& p) { SetPec(p, 1); }, true},
    {'6', false, false, [](Program& p) { SetPec(p, 0); }, true},
    {'Z', true, true, regscan::TestReadWord, true},
    {'Y', true, true, regscan::TestReadWord_00, true},
    {'X', true, true, regscan::TestReadBlock, true},
    {'B', true, true, regscan::TestReadBlock_23, true},
};

void Dispatch(Program& p, int choice) {
  // End of input ends the program as "0" does.
  if (choice == EOF) choice = '0';
  for (const Choice& c : kChoices) {
    if (c.key != std::toupper(choice)) continue;
    if (c.check) {
      core::CheckDevice(p);
      core::CheckSMB(p);
    }
    if (c.clear_screen) p.con.ClearScreen();
    if (c.action != nullptr) c.action(p);
    if (c.pause) {
      p.con.SetColour(Red);
      p.con.Pause();
    }
    return;
  }
}

}  // namespace

void MenuCycle(Program& p) {
  core::CheckDevice(p);
  core::CheckSMB(p);
  p.bus.SMBEnablePEC(1);
  p.Sleep(5);
  p.VarPec = 1;
  p.status = p.bus.SMBReadWord(BatteryAddress, 0x0D);
  p.con.Print(White, " Read 0x0d = %04X\n", static_cast<unsigned>(p.status));
  p.BootRom = BootRomFromStateOfCharge(p.status);
  p.con.Print(Cyan, " PEC = %u\n", static_cast<unsigned>(p.VarPec));
  DrawMenu(p);
  Dispatch(p, p.con.ReadChar());
}

}  // namespace app
