#include "reports/bq40z/bq40z.h"

namespace reports {

using namespace core;

namespace {

constexpr int kSeparator = 39;

std::uint16_t WordAt(const std::uint8_t* bytes, int offset) {
  return static_cast<std::uint16_t>(bytes[offset] + 256 * bytes[offset + 1]);
}

}  // namespace

void PrintSealUnsealDevicez40(Program& p) {
  std::uint8_t receive[20] = {};
  z40::ManufacturerBlockRead(p, receive, 0x0054);
  p.con.Dashes(Magenta, kSeparator);
  // Bits 9 and 8 of OperationStatus: SEC1 and SEC0.
  switch (p.buf[1] & 0x03) {
    case 3:
      p.con.Print(Red, " Device......................... SEALED");
      p.con.NewLine();
      p.StUnsealDevice = 0;
      break;
    case 2:
      p.con.Print(Green, " Device....................... UNSEALED");
      p.con.NewLine();
      p.StUnsealDevice = 1;
      break;
    case 1:
      p.con.Print(Green, " Device.......... UNSEALED & FullAccess");
      p.con.NewLine();
      p.StUnsealDevice = 2;
      break;
    default:
      // The reserved combination: the previous state stays in force.
      break;
  }
  p.con.Dashes(Magenta, kSeparator);
}

namespace z40 {

void CaptureKeys(Program& p, ReportBuffer& receive) {
  if (p.StUnsealDevice != 2) return;
  ManufacturerBlockRead(p, receive, 0x0035);
  p.UnsealKEY1 = WordAt(p.buf, 0);
  p.UnsealKEY2 = WordAt(p.buf, 2);
  p.FASKEY1 = WordAt(p.buf, 4);
  p.FASKEY2 = WordAt(p.buf, 6);
}

}  // namespace z40

}  // namespace reports
