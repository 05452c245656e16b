#include "reports/bq20z/manufacturer_access.h"

namespace reports {

using namespace core;

int ManufacturerAccessRead(Program& p, int subcommand, PauseBeforeRead pause) {
  p.bus.SMBWriteWord(BatteryAddress, 0x00, subcommand);
  if (pause == PauseBeforeRead::OneMillisecond) p.Sleep(1);
  p.status = p.bus.SMBReadWord(BatteryAddress, 0x00);
  p.Sleep(1);
  return p.status;
}

}  // namespace reports
