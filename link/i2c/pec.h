#pragma once
// SMBus packet error checking: CRC-8 with the polynomial x^8 + x^2 + x + 1
// over every byte of the transaction, addresses included.

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace smb::i2c {

std::uint8_t Pec(std::uint8_t crc, const std::uint8_t* bytes, std::size_t count);
std::uint8_t Pec(std::uint8_t crc, std::initializer_list<std::uint8_t> bytes);

}  // namespace smb::i2c
