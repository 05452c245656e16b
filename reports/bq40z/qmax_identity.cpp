#include "reports/bq40z/bq40z.h"

namespace reports::z40 {

using namespace core;

namespace {

// Where the Qmax data lie for one device type.
struct QmaxLayout {
  int device_type;  // -1 for any other type
  int subcommand;
  int cell[4];      // data offsets of little-endian words, cell 0 first
  int pack;
  int update_status;  // data offset of one byte
  int ra_base;
};

const QmaxLayout kQmaxLayouts[] = {
    {0x9D80, 0x011A, {0, 2, 4, 6}, 8, 13, 320},
    {0x4695, 0x0118, {4, 6, 8, 10}, 12, 16, 256},
    {-1, 0x0118, {6, 8, 10, 12}, 14, 18, 256},
};

std::uint16_t WordAt(const std::uint8_t* bytes, int offset) {
  return static_cast<std::uint16_t>(bytes[offset] + 256 * bytes[offset + 1]);
}

const QmaxLayout& LayoutFor(std::uint16_t device_type) {
  for (const QmaxLayout& layout : kQmaxLayouts) {
    if (layout.device_type == device_type || layout.device_type < 0) return layout;
  }
  return kQmaxLayouts[2];
}

}  // namespace

void QmaxSection(Program& p, ReportBuffer& receive) {
  ManufacturerBlockRead(p, receive, 0x0001);
  const std::uint16_t device_type = WordAt(p.buf, 0);
  const QmaxLayout& layout = LayoutFor(device_type);

  ManufacturerBlockRead(p, receive, layout.subcommand);
  std::uint16_t cell[4];
  for (int i = 0; i < 4; ++i) cell[i] = WordAt(p.buf, layout.cell[i]);
  const std::uint16_t pack = WordAt(p.buf, layout.pack);
  const std::uint8_t update_status = p.buf[layout.update_status];

  p.con.Print(Cyan, " Update Status: ............ ");
  p.con.Print(Yellow, "%u\n", static_cast<unsigned>(update_status));
  p.con.Print(Green, " Qmax Cell-0:                ");
  p.con.Print(White, "%04u mah\n", static_cast<unsigned>(cell[0]));
  p.con.Print(Green, " Qmax Cell-1: .............. ");
  p.con.Print(White, "%04u mah\n", static_cast<unsigned>(cell[1]));
  p.con.Print(Green, " Qmax Cell-2:                ");
  p.con.Print(White, "%04u mah\n", static_cast<unsigned>(cell[2]));
  p.con.Print(Green, " Qmax Cell-3: .............. ");
  p.con.Print(White, "%04u mah\n", static_cast<unsigned>(cell[3]));
  p.con.Print(White, " Qmax Pack:                  ");
  p.con.Print(Magenta, "%04u mah\n", static_cast<unsigned>(pack));

  for (int i = 0; i < 4; ++i) {
    // Request bytes: (base + 64 i) / 32, then 0x01.
    const int request = ((layout.ra_base + 64 * i) / 32) | (0x01 << 8);
    ManufacturerBlockRead(p, receive, request);
    p.con.Print(Cyan, " Cell-");
    p.con.Print(Yellow, "%01x", static_cast<unsigned>(i));
    p.con.Print(Cyan, " R_a flag:            ");
    p.con.Print(Yellow, "%02X%02X\n", p.buf[1], p.buf[0]);
  }
}

void IdentitySection(Program& p, ReportBuffer& receive) {
  ManufacturerBlockRead(p, receive, 0x0001);
  p.con.Print(Yellow, " Device Type(0x0001) :...... ");
  p.con.Print(Red, "%02X%02X Hex\n", p.buf[1], p.buf[0]);

  ManufacturerBlockRead(p, receive, 0x0002);
  p.con.Print(Cyan, " Firmware Version(0x0002) :. ");
  p.con.Print(White, "%02X%02X Hex\n", p.buf[2], p.buf[3]);

  ManufacturerBlockRead(p, receive, 0x0003);
  p.con.Print(Magenta, " Hardware Version(0x0003) :. ");
  p.con.Print(Cyan, "%02X%02X Hex\n", p.buf[1], p.buf[0]);

  ManufacturerBlockRead(p, receive, 0x0006);
  p.con.Print(White, " Chemistry ID(0x0006) :..... ");
  p.con.Print(Yellow, "%02X%02X Hex\n", p.buf[1], p.buf[0]);
}

}  // namespace reports::z40
