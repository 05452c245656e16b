// The bq30z report, its steps in the order the screen shows them.

#include "reports/bq30z/bq30z.h"

#include <algorithm>

#include "reports/battery_values.h"
#include "reports/bq30z/internal.h"
#include "reports/cell_voltages.h"
#include "reports/report_frame.h"

namespace reports {

using namespace core;
using namespace bq30z_family;

namespace {

constexpr int kWide = 39;  // the boot-ROM block

// A gauge in boot-ROM mode answers nothing useful: say so and stop.
bool BootRomGuard(Program& p) {
  p.BootRom = BootRomFromStateOfCharge(p.status);
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

}  // namespace

void bq30z(Program& p) {
  p.con.ClearScreen();
  ReportHeader(p, "          Vantrel-bq30z55", "            READ Battery Info");
  if (BootRomGuard(p)) return;

  const int capacity_mode = ReadCapacityMode(p, kNoSleep);
  PrintStandardLines(p, kStandardLines, &ProgramState::buff, capacity_mode);
  CellVoltages(p);
  PrintStandardLines(p, kSpecificationInfo, &ProgramState::buff, capacity_mode);
  p.con.Dashes(Magenta, kNarrow);

  PrintGaugeRegisters(p, kBatteryStatus);
  p.con.Dashes(Magenta, kNarrow);
  PrintGaugeRegisters(p, kOperationStatus);
  PrintSealUnsealDevicez30(p);
  PrintGaugeStatusRegisters(p);

  PrintStandardLines(p, kMaxError, &ProgramState::buff, capacity_mode);
  p.con.Dashes(Magenta, kNarrow);

  // The state may come from an earlier report when this gauge said mode 0.
  if (p.StUnsealDevice != 0) PrintUnsealedData(p);

  PrintGaugeRegisters(p, kIdentification);
  p.con.Dashes(Magenta, kNarrow);
  EndReport(p);
}

namespace bq30z_family {

namespace {

// Gauge memory keeps its words high byte first.
int MemoryWord(const Program& p, int offset) { return 256 * p.buf[offset] + p.buf[offset + 1]; }

// True when at least one of the four copies at `offset` equals its Qmax.
bool CopiesMatch(const Program& p, const int (&qmax)[4], int offset) {
  for (int k = 0; k < 4; ++k) {
    if (MemoryWord(p, offset + 2 * k) == qmax[k]) return true;
  }
  return false;
}

// Where the Update Status byte lies depends on the gauge's data layout; the
// layout is recognised by the copies of the Qmax values it keeps.
int UpdateStatus(Program& p, const int (&qmax)[4]) {
  MemoryRow(p, 0x16);
  p.Sleep(5);
  if (CopiesMatch(p, qmax, 3)) return p.buf[15];

  MemoryRow(p, 0x1C);
  p.Sleep(5);
  if (CopiesMatch(p, qmax, 20)) {
    MemoryRow(p, 0x1D);
    p.Sleep(5);
    return p.buf[0];
  }

  MemoryRow(p, 0x1A);
  p.Sleep(5);
  return p.buf[1];
}

}  // namespace

void PrintGaugeRegisters(Program& p, std::span<const RegisterLine> rows) {
  PrintRegisters(p, rows, [&p](int subcommand) { return ManufacturerData(p, subcommand); });
}

void PrintSealUnsealDevicez30(Program& p) {
  ManufacturerData(p, 0x0054);
  p.Sleep(0);
  PrintSealState(p, kSealStates, p.buf[1] & 0x03, kNarrow);
}

void PrintGaugeStatusRegisters(Program& p) {
  for (const RegisterLine& row : kGaugeStatusRegisters) {
    PrintGaugeRegisters(p, {&row, 1});
    p.con.Dashes(Magenta, kNarrow);
  }
}

void PrintUnsealedData(Program& p) {
  ManufacturerData(p, 0x0073);
  p.Sleep(5);
  int qmax[4];
  for (int k = 0; k < 4; ++k) qmax[k] = p.buf[10 + 2 * k] + 256 * p.buf[11 + 2 * k];

  const int update_status = UpdateStatus(p, qmax);
  p.con.Print(White, " Update Status: ............ ");
  p.con.Print(Green, "%02x   ", static_cast<unsigned>(update_status));
  p.con.Print(Yellow, "%u\n", static_cast<unsigned>(update_status));

  for (int k = 0; k < 4; ++k) {
    p.con.Print(Green, "%s", kQmaxLabel[k]);
    p.con.Print(Cyan, "%04x ", static_cast<unsigned>(qmax[k]));
    p.con.Print(White, "%04u mah\n", static_cast<unsigned>(qmax[k]));
  }
  const int pack = *std::min_element(qmax, qmax + 4);
  p.con.Print(White, " Qmax Pack:                  ");
  p.con.Print(Cyan, "%04x ", static_cast<unsigned>(pack));
  p.con.Print(Magenta, "%04u mah\n", static_cast<unsigned>(pack));
  p.con.Dashes(Magenta, kNarrow);

  for (int k = 0; k < 4; ++k) {
    // Each cell's R_a table takes 64 bytes from offset 1280; its first word is shown.
    MemoryRow(p, (1280 + 64 * k) / 32);
    p.Sleep(10);
    p.con.Print(Cyan, " Cell-");
    p.con.Print(Yellow, "%01x", static_cast<unsigned>(k));
    p.con.Print(Green, " R_a flag:            ");
    p.con.Print(Yellow, "%02X%02X HEX\n", p.buf[0], p.buf[1]);
  }
  p.con.Dashes(Magenta, kNarrow);
}

}  // namespace bq30z_family

}  // namespace reports
