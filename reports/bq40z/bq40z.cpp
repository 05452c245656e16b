// The bq40z report, its steps in the order the screen shows them.

#include "reports/bq40z/bq40z.h"

#include <cstring>

#include "reports/battery_values.h"
#include "reports/bq40z/internal.h"
#include "reports/cell_voltages.h"
#include "reports/report_frame.h"

namespace reports {

using namespace core;
using namespace bq40z_family;

void bq40z(Program& p) {
  ReportBuffer receive;
  p.con.ClearScreen();
  ReportHeader(p, "         Vantrel-bq40z50", "          READ  Battery Info");
  if (StopInBootRom(p)) return;

  std::memset(receive, 0, sizeof receive);
  const int capacity_mode = ReadCapacityMode(p, 0);

  PrintStandardLines(p, kStandardLines, &ProgramState::buf, capacity_mode);
  CellVoltages(p);
  PrintStandardLines(p, kSpecificationInfo, &ProgramState::buf, capacity_mode);
  p.con.Dashes(Magenta, kSeparator);

  PrintGaugeRegisters(p, receive, kStatusWords);
  PrintSealUnsealDevicez40(p);
  CaptureKeys(p, receive);
  PrintGaugeRegisters(p, receive, kGaugeStatusRegisters);

  PrintStandardLines(p, kMaxError, &ProgramState::buf, capacity_mode);
  if (p.StUnsealDevice != 0) {
    p.con.Dashes(Magenta, kSeparator);
    QmaxSection(p, receive);
  }
  p.con.Dashes(Magenta, kSeparator);
  PrintGaugeRegisters(p, receive, kIdentity);
  p.con.Dashes(Magenta, kSeparator);
  EndReport(p);
}

namespace bq40z_family {

namespace {

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

void PrintGaugeRegisters(Program& p, std::span<std::uint8_t> receive, std::span<const RegisterLine> rows) {
  PrintRegisters(p, rows, [&p, receive](int subcommand) {
    ManufacturerBlockRead(p, receive, subcommand);
    return p.status;
  });
}

void PrintSealUnsealDevicez40(Program& p) {
  std::uint8_t receive[kSealCheckBufferSize] = {};
  ManufacturerBlockRead(p, receive, 0x0054);
  PrintSealState(p, kSealStates, p.buf[1] & 0x03, kSeparator);
}

void CaptureKeys(Program& p, std::span<std::uint8_t> receive) {
  if (p.StUnsealDevice != 2) return;
  ManufacturerBlockRead(p, receive, 0x0035);
  p.UnsealKEY1 = WordAt(p.buf, 0);
  p.UnsealKEY2 = WordAt(p.buf, 2);
  p.FASKEY1 = WordAt(p.buf, 4);
  p.FASKEY2 = WordAt(p.buf, 6);
}

void QmaxSection(Program& p, std::span<std::uint8_t> receive) {
  ManufacturerBlockRead(p, receive, 0x0001);
  const QmaxLayout& layout = LayoutFor(WordAt(p.buf, 0));

  ManufacturerBlockRead(p, receive, layout.subcommand);
  std::uint16_t cell[4];
  for (int i = 0; i < 4; ++i) cell[i] = WordAt(p.buf, layout.cell[i]);
  const std::uint16_t pack = WordAt(p.buf, layout.pack);
  const std::uint8_t update_status = p.buf[layout.update_status];

  p.con.Print(Cyan, " Update Status: ............ ");
  p.con.Print(Yellow, "%u\n", static_cast<unsigned>(update_status));
  for (int i = 0; i < 4; ++i) {
    p.con.Print(Green, "%s", kQmaxLabel[i]);
    p.con.Print(White, "%04u mah\n", static_cast<unsigned>(cell[i]));
  }
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

}  // namespace bq40z_family

}  // namespace reports
