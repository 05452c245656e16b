#include "fuzz/chaos_adapter.h"

#include <iterator>

namespace fuzzing {

namespace {

// The results the adapter search and the probes act on.
constexpr int kKnownCodes[] = {-9, -1000, -1005, -1010, -1, 0};
constexpr int kFirmware = 0x030201;
constexpr int kInterfaceId = 0x4D5355;

}  // namespace

std::uint8_t ChaosAdapter::Byte() { return used_ < size_ ? data_[used_++] : 0; }

int ChaosAdapter::Int() {
  unsigned value = 0;
  for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
  return static_cast<int>(value);
}

int ChaosAdapter::ErrorCode() {
  const std::uint8_t pick = Byte();
  if (pick < std::size(kKnownCodes) * 32) return kKnownCodes[pick / 32];
  if (pick < 0xF0) return -static_cast<int>(Byte()) - 1;
  return -static_cast<int>(static_cast<unsigned>(Int()) & 0x7FFFFFFF) - 1;
}

int ChaosAdapter::Result() { return used_up() || Byte() < 0xF0 ? 0 : ErrorCode(); }

int ChaosAdapter::OpenDeviceVIDPID(int, int) {
  if (used_up()) return -9;
  const std::uint8_t pick = Byte();
  if (pick < 0x80) return kFirmware;
  if (pick < 0xC0) return ErrorCode();
  return Int();
}

int ChaosAdapter::InterfaceID() {
  if (used_up()) return 0;
  return Byte() < 0xC0 ? kInterfaceId : Int();
}

// A word is 0 to 65535, anything negative an error code.
int ChaosAdapter::ReadWord(int, int) {
  if (used_up()) return -9;
  if (Byte() >= 0xC0) return ErrorCode();
  const int high = Byte();
  return high << 8 | Byte();
}

int ChaosAdapter::ReadBlock(int, int, std::vector<std::uint8_t>& reply) {
  reply.clear();
  if (used_up()) return -9;
  if (Byte() >= 0xE0) return ErrorCode();
  const std::size_t length = Byte();
  for (std::size_t i = 0; i < length; ++i) reply.push_back(Byte());
  return static_cast<int>(length);
}

}  // namespace fuzzing
