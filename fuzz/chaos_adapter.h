#pragma once
// A battery of pure chaos: every answer of the eight operations (results,
// words, block lengths up to 255 and their bytes, error codes) is taken from
// the fuzzer's input, in the order the program asks. Once the input is used
// up, every operation fails as an absent adapter does.

#include <cstddef>
#include <cstdint>

#include "link/adapter.h"

namespace fuzzing {

class ChaosAdapter : public smb::Adapter {
 public:
  ChaosAdapter(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  int OpenDeviceVIDPID(int vendor_id, int product_id) override;
  int InterfaceID() override;
  int EnablePEC(int) override { return Result(); }
  int ReadWord(int address, int command) override;
  int WriteWord(int, int, int) override { return Result(); }
  int ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) override;
  int WriteBlock(int, int, const std::uint8_t*, int) override { return Result(); }
  void CloseDevice() override {}
  bool PacedInRealTime() const override { return false; }

  bool used_up() const { return used_ >= size_; }

 private:
  std::uint8_t Byte();
  int Int();
  // An error code, mostly one the program knows.
  int ErrorCode();
  // 0 for success, or an error code.
  int Result();

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t used_ = 0;
};

}  // namespace fuzzing
