#include "reports/flag_lines.h"

#include <cstring>

namespace reports {

namespace {

std::uint32_t BitsBetween(std::uint32_t value, int high_bit, int low_bit) {
  const int width = high_bit - low_bit + 1;
  const std::uint32_t mask = width >= 32 ? 0xFFFFFFFFu : ((1u << width) - 1u);
  return (value >> low_bit) & mask;
}

}  // namespace

void WriteFlagNames(platform::Console& con, FlagTable table, std::uint32_t value, int high_bit, int low_bit) {
  for (const FlagName& flag : table) {
    if (flag.bit > high_bit || flag.bit < low_bit) continue;
    if ((value >> flag.bit) & 1u) con.Write(flag.name, std::strlen(flag.name));
  }
}

void FlagLine(platform::Console& con, FlagTable table, std::uint32_t value, int high_bit, int low_bit) {
  WriteFlagNames(con, table, value, high_bit, low_bit);
  con.NewLine();
}

void FlagLineWhenSet(platform::Console& con, FlagTable table, std::uint32_t value, int high_bit, int low_bit) {
  if (BitsBetween(value, high_bit, low_bit) != 0) FlagLine(con, table, value, high_bit, low_bit);
}

void TwoHalfLines(platform::Console& con, FlagTable table, std::uint32_t value) {
  FlagLineWhenSet(con, table, value, 31, 16);
  FlagLineWhenSet(con, table, value, 15, 0);
}

std::uint32_t LittleEndianValue(const std::uint8_t* bytes, int count) {
  std::uint32_t value = 0;
  for (int k = count - 1; k >= 0; --k) value = (value << 8) | bytes[k];
  return value;
}

}  // namespace reports
