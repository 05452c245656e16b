#include "link/i2c/pec.h"

namespace smb::i2c {

std::uint8_t Pec(std::uint8_t crc, const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) {
      crc = static_cast<std::uint8_t>((crc & 0x80) != 0 ? (crc << 1) ^ 0x07 : crc << 1);
    }
  }
  return crc;
}

std::uint8_t Pec(std::uint8_t crc, std::initializer_list<std::uint8_t> bytes) {
  return Pec(crc, bytes.begin(), bytes.size());
}

std::uint8_t ReadPec(int address, std::uint8_t command, const std::uint8_t* in, std::size_t count) {
  const auto write_address = static_cast<std::uint8_t>(address & 0xFE);
  return Pec(Pec(0, {write_address, command, static_cast<std::uint8_t>(write_address | 1)}), in, count);
}

std::uint8_t WritePec(int address, const std::uint8_t* out, std::size_t count) {
  return Pec(Pec(0, {static_cast<std::uint8_t>(address & 0xFE)}), out, count);
}

}  // namespace smb::i2c
