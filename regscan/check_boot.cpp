#include <cstring>

#include "regscan/regscan.h"

namespace regscan {

using namespace core;

void CheckBoot(Program& p) {
  p.status = p.bus.SMBReadWord(BatteryAddress, 0x72);
  p.Sleep(1);
  if (p.status == 0) {
    p.BootRom = 0;
    p.con.Print(Cyan, " RW 72 = %04X\n", static_cast<unsigned>(p.status));
  } else if (p.status == 0x1111) {
    p.BootRom = 2;
    p.con.Print(Cyan, " RW 72 = %04X\n", static_cast<unsigned>(p.status));
  } else if (p.status == smb::kNotAcknowledged) {
    // A failed read stores nothing; an earlier report's text left in the
    // buffer must not pass for the boot ROM's mark.
    std::memset(p.buf, 0, sizeof p.buf);
    p.status = p.bus.SMBReadBlock(BatteryAddress, 0xC0, p.buf);
    p.Sleep(20);
    if (p.buf[0] == 0x55) {
      p.BootRom = 1;
      p.con.Print(Cyan, " BootRom = %02X\n", static_cast<unsigned>(p.buf[0]));
    }
    p.status = p.bus.SMBReadWord(BatteryAddress, 0x0D);
    p.Sleep(1);
    if (p.status > 100) {
      p.BootRom = 1;
      p.con.Print(Cyan, " BootRom = %02X\n", static_cast<unsigned>(p.buf[0]));
    }
  }
}

}  // namespace regscan
