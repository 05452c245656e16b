// The seal check, the gauge exchanges, and the data an unsealed gauge gives.

#include <algorithm>
#include <cstdint>

#include "reports/bq30z/bq30z.h"
#include "reports/bq30z/bq30z_parts.h"

namespace reports {

using namespace core;

namespace bq30z_parts {

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

const char* const kQmaxLabel[4] = {
    " Qmax Cell-0:                ",
    " Qmax Cell-1: .............. ",
    " Qmax Cell-2:                ",
    " Qmax Cell-3: .............. ",
};

}  // namespace

void ManufacturerData(Program& p, int subcommand) {
  p.bus.SMBWriteWord(BatteryAddress, 0x00, subcommand);
  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x23, p.buf);
}

void MemoryRow(Program& p, int row) {
  p.bus.SMBWriteWord(BatteryAddress, 0x00, 0x0100 + row);
  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x2F, p.buf);
}

void UnsealedData(Program& p) {
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

}  // namespace bq30z_parts

void PrintSealUnsealDevicez30(Program& p) {
  bq30z_parts::ManufacturerData(p, 0x0054);
  p.Sleep(0);
  p.con.Dashes(Magenta, bq30z_parts::kNarrow);
  // The security mode is kept in bits 9 and 8 of Operation Status.
  switch (p.buf[1] & 0x03) {
    case 3:
      p.con.Print(Red, " Device........................ SEALED");
      p.con.NewLine();
      p.StUnsealDevice = 0;
      break;
    case 2:
      p.con.Print(Green, " Device...................... UNSEALED");
      p.con.NewLine();
      p.StUnsealDevice = 1;
      break;
    case 1:
      p.con.Print(Green, " Device......... UNSEALED & FullAccess");
      p.con.NewLine();
      p.StUnsealDevice = 2;
      break;
    default:
      // The reserved combination: the state found earlier stays in force.
      break;
  }
  p.con.Dashes(Magenta, bq30z_parts::kNarrow);
}

}  // namespace reports
