// The bq30z report's exchanges with the gauge beyond the Smart Battery words.

#include "reports/bq30z/internal.h"

namespace reports::bq30z_family {

using namespace core;

int ManufacturerData(Program& p, int subcommand) {
  p.bus.SMBWriteWord(BatteryAddress, 0x00, subcommand);
  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x23, p.buf);
  return p.status;
}

void MemoryRow(Program& p, int row) {
  p.bus.SMBWriteWord(BatteryAddress, 0x00, 0x0100 + row);
  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x2F, p.buf);
}

}  // namespace reports::bq30z_family
