// The bq40z report's exchange with the gauge: the manufacturer block read.

#include <algorithm>
#include <cstring>

#include "reports/bq40z/internal.h"

namespace reports::bq40z_family {

using namespace core;

void ManufacturerBlockRead(Program& p, std::span<std::uint8_t> receive, int subcommand) {
  receive[0] = static_cast<std::uint8_t>(subcommand & 0xFF);
  receive[1] = static_cast<std::uint8_t>((subcommand >> 8) & 0xFF);
  p.bus.SMBWriteBlock(BatteryAddress, 0x44, receive.data(), 2);
  p.Sleep(5);
  p.status = p.bus.SMBReadBlock(BatteryAddress, 0x44, receive.data(), receive.size());
  p.Sleep(5);
  if (p.status >= 2) {
    const std::size_t held = std::min({static_cast<std::size_t>(p.status), receive.size(), 2 + sizeof p.buf});
    std::memcpy(p.buf, receive.data() + 2, held - 2);
  }
}

}  // namespace reports::bq40z_family
