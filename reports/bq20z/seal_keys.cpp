#include "reports/bq20z/seal_keys.h"

#include <cstdint>

#include "reports/bq20z/manufacturer_access.h"

namespace reports {

using namespace core;

namespace {

// Key blocks hold little-endian words.
std::uint16_t LittleEndianWord(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] + 256 * bytes[1]);
}

// Gauge-memory pages hold big-endian words.
int BigEndianWord(const std::uint8_t* bytes) { return bytes[0] * 256 + bytes[1]; }

// Selects a data-flash subclass, then reads its first page into buf.
void ReadSubclass(Program& p, int subclass) {
  p.bus.SMBWriteWord(BatteryAddress, 0x77, subclass);
  p.Sleep(1);
  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x78, p.buf);
  p.Sleep(3);
}

struct SealRow {
  int bits;  // Operation Status bits 14 (FAS) and 13 (SS)
  int colour;
  const char* line;
  int mode;  // the new StUnsealDevice
};

// The fourth combination (SS without FAS) is reserved: no line, mode kept.
const SealRow kSealRows[] = {
    {0x6000, Red, " Device....................... SEALED", 0},
    {0x4000, Green, " Device..................... UNSEALED", 1},
    {0x0000, Green, " Device.................. Full Access", 2},
};

const char* const kQmaxCellText[4] = {"Cell-0:                ", "Cell-1: .............. ",
                                      "Cell-2:                ", "Cell-3: .............. "};

constexpr int kQmaxSubclass = 82;
constexpr int kFirstRaSubclass = 88;  // cells 0 to 3 are 88 to 91

}  // namespace

void PrintSealUnsealDevice20z(Program& p) {
  ManufacturerAccessRead(p, 0x0054, PauseBeforeRead::OneMillisecond);
  p.con.Dashes(Magenta, 38);
  for (const SealRow& row : kSealRows) {
    if ((p.status & 0x6000) != row.bits) continue;
    p.con.Print(row.colour, "%s", row.line);
    p.con.NewLine();
    p.StUnsealDevice = row.mode;
  }
  p.con.Dashes(Magenta, 38);
}

void PrintKeys20z(Program& p) {
  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x60, p.buf);
  p.Sleep(3);
  p.UnsealKEY1 = LittleEndianWord(&p.buf[0]);
  p.UnsealKEY2 = LittleEndianWord(&p.buf[2]);
  p.con.Print(Yellow, " UnSeal: .... ");
  p.con.Print(Cyan, "Key-1 Key-2 .. ");
  p.con.Print(Yellow, "%04x %04x\n", static_cast<unsigned>(p.UnsealKEY1), static_cast<unsigned>(p.UnsealKEY2));

  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x61, p.buf);
  p.Sleep(3);
  p.FASKEY1 = LittleEndianWord(&p.buf[0]);
  p.FASKEY2 = LittleEndianWord(&p.buf[2]);
  p.con.Print(Green, " Full-Access: ");
  p.con.Print(Cyan, "Key-1 Key-2 .. ");
  p.con.Print(Green, "%04x %04x\n", static_cast<unsigned>(p.FASKEY1), static_cast<unsigned>(p.FASKEY2));

  // The PF key is shown but not kept.
  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x62, p.buf);
  p.Sleep(3);
  p.con.Print(White, " PF Key: .... ");
  p.con.Print(Cyan, "Key-1 Key-2 .. ");
  p.con.Print(White, "%02x%02x %02x%02x\n", static_cast<unsigned>(p.buf[1]), static_cast<unsigned>(p.buf[0]),
              static_cast<unsigned>(p.buf[3]), static_cast<unsigned>(p.buf[2]));

  p.con.Dashes(Magenta, 38);
}

void PrintGaugeMemory20z(Program& p) {
  ReadSubclass(p, kQmaxSubclass);
  p.con.Print(Magenta, " Update Status: ............ ");
  p.con.Print(Yellow, "%u\n", static_cast<unsigned>(p.buf[12]));
  for (int cell = 0; cell < 4; ++cell) {
    p.tempWord = BigEndianWord(&p.buf[2 * cell]);
    p.con.Print(Green, " Qmax ");
    p.con.Print(Yellow, "%s", kQmaxCellText[cell]);
    p.con.Print(White, "%04u mah\n", static_cast<unsigned>(p.tempWord));
  }
  p.tempWord = BigEndianWord(&p.buf[8]);
  p.con.Print(White, " Qmax Pack:                  ");
  p.con.Print(Yellow, "%04u mah\n", static_cast<unsigned>(p.tempWord));
  p.con.Dashes(Magenta, 37);

  for (int subclass = kFirstRaSubclass; subclass < kFirstRaSubclass + 4; ++subclass) {
    ReadSubclass(p, subclass);
    p.con.Print(White, " Cell-%01x ", static_cast<unsigned>(subclass - kFirstRaSubclass));
    p.con.Print(Cyan, "R_a flag:            ");
    p.con.Print(Yellow, "%02x%02x\n", static_cast<unsigned>(p.buf[0]), static_cast<unsigned>(p.buf[1]));
  }
}

}  // namespace reports
