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
  bool line_end = true;
};

constexpr const char* k40 = "----------------------------------------";
constexpr const char* k40n = "----------------------------------------\n";
constexpr const char* k39n = "---------------------------------------\n";

const MenuRow kMenu[] = {
    {.segments = {{Magenta, k40}}},
    {.segments = {{Green, "         Vantrel\n"}}},
    {.segments = {{Magenta, k40}}},
    {.segments = {{White, "            SELECT AN ACTION"}}},
    {.segments = {{Magenta, k40n}}},
    {.segments = {{Yellow, "   1. "}, {Green, "READ "}, {Yellow, "bq20zXXX "}, {Cyan, "Info\n"}}},
    {.segments = {{White, "   2. "}, {Green, "READ "}, {White, "bq30zXXX "}, {Cyan, "Info\n"}}},
    {.segments = {{Yellow, "   3. "}, {Green, "READ "}, {Yellow, "bq40zXXX "}, {Cyan, "Info\n"}}},
    {.segments = {{White, "   4. "}, {Green, "READ "}, {White, "bq9000/8050/8055/8030/\n"}}},
    {.segments = {{White, "      /m37512... "}, {Yellow, "and other "}, {Cyan, "Info\n"}}},
    {.segments = {{Magenta, k39n}}},
    {.segments = {{Yellow, "   5. "}, {White, "PEC = "}, {Green, "ON\n"}}},
    {.segments = {{Yellow, "   6. "}, {White, "PEC = "}, {Red, "OFF\n"}}},
    {.segments = {{Magenta, k39n}}},
    {.segments = {{White, "   Z. "}, {Yellow, "TEST "}, {Green, "Read WORD "}, {Cyan, "from 0x00 to 0xFF\n"}}},
    {.segments = {{Yellow, "   Y. "}, {Green, "Read WORD Reg[00] : \n"}}},
    {.segments = {{Red, "   Write"}, {Yellow, "[00WW] => [00]:"}, {Cyan, "WW = 0x00 to 0xFF\n"}}},
    {.segments = {{Magenta, k40n}}},
    {.segments = {{White, "   X. "}, {Yellow, "TEST "}, {White, "Read BLOCK "}, {Cyan, "from 0x00 to 0xFF\n"}}},
    {.segments = {{Yellow, "   B. "}, {Green, "Read Block Reg[23] : \n"}}},
    {.segments = {{Red, "  Write"}, {Yellow, "[00WW] => [00]:"}, {Cyan, "WW = 0x00 to 0xFF\n"}}},
    {.segments = {{Magenta, k40n}}},
    {.segments = {{Yellow, "   0. "}, {Red, "EXIT\n"}}},
    {.segments = {{Magenta, k40n}}},
    {.segments = {{Yellow, "        YOUR CHOICE: "}}, .line_end = false},
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
    {.key = '0', .check = false, .clear_screen = false, .action = Exit, .pause = false},
    {.key = '1', .check = true, .clear_screen = false, .action = reports::bq20z, .pause = true},
    {.key = '2', .check = true, .clear_screen = false, .action = reports::bq30z, .pause = true},
    {.key = '3', .check = true, .clear_screen = false, .action = reports::bq40z, .pause = true},
    {.key = '4', .check = true, .clear_screen = false, .action = reports::bq9000, .pause = true},
    {.key = '5', .check = false, .clear_screen = false, .action = [](Program& p) { SetPec(p, 1); }, .pause = true},
    {.key = '6', .check = false, .clear_screen = false, .action = [](Program& p) { SetPec(p, 0); }, .pause = true},
    {.key = 'Z', .check = true, .clear_screen = true, .action = regscan::TestReadWord, .pause = true},
    {.key = 'Y', .check = true, .clear_screen = true, .action = regscan::TestReadWord_00, .pause = true},
    {.key = 'X', .check = true, .clear_screen = true, .action = regscan::TestReadBlock, .pause = true},
    {.key = 'B', .check = true, .clear_screen = true, .action = regscan::TestReadBlock_23, .pause = true},
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
