// The bq20z report's exchanges with the gauge beyond the Smart Battery words.

#include "reports/bq20z/internal.h"

namespace reports::bq20z_family {

using namespace core;

int ManufacturerAccessRead(Program& p, int subcommand, PauseBeforeRead pause) {
  p.bus.SMBWriteWord(BatteryAddress, 0x00, subcommand);
  if (pause == PauseBeforeRead::OneMillisecond) p.Sleep(1);
  p.status = p.bus.SMBReadWord(BatteryAddress, 0x00);
  p.Sleep(1);
  return p.status;
}

void ReadKeyBlock(Program& p, int command) {
  p.status = p.bus.SMBReadBlock(BatteryAddress, command, p.buf);
  p.Sleep(3);
}

void ReadSubclass(Program& p, int subclass) {
  p.bus.SMBWriteWord(BatteryAddress, 0x77, subclass);
  p.Sleep(1);
  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x78, p.buf);
  p.Sleep(3);
}

}  // namespace reports::bq20z_family
