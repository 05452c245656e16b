#pragma once
// SMBus packet error checking: CRC-8 with the polynomial x^8 + x^2 + x + 1
// over every byte of the transaction, addresses included.

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace smb::i2c {

std::uint8_t Pec(std::uint8_t crc, const std::uint8_t* bytes, std::size_t count);
std::uint8_t Pec(std::uint8_t crc, std::initializer_list<std::uint8_t> bytes);

// The PEC of a read from the 8-bit `address`: its write address, the command,
// its read address and the `count` bytes that came back.
std::uint8_t ReadPec(int address, std::uint8_t command, const std::uint8_t* in, std::size_t count);
// The PEC of a write of `count` bytes (the command first) to the 8-bit `address`.
std::uint8_t WritePec(int address, const std::uint8_t* out, std::size_t count);

}  // namespace smb::i2c
