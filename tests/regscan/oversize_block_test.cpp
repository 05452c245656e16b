// A battery that announces more block bytes than a buffer holds: the scans
// list only what was stored and never read past their buffers.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/program.h"
#include "link/adapter.h"
#include "link/smbus.h"
#include "link/trace.h"
#include "platform/posix/posix_console.h"
#include "regscan/regscan.h"
#include "tests/support/harness.h"

namespace {

using namespace testing_support;

// Answers every block read with 300 bytes of 0x5A; word 0x72 reads 0.
class LongBlockAdapter : public smb::Adapter {
 public:
  int OpenDeviceVIDPID(int, int) override { return 1; }
  int InterfaceID() override { return 0x4D5355; }
  int EnablePEC(int) override { return 0; }
  int ReadWord(int, int command) override { return command == 0x72 ? 0 : -9; }
  int WriteWord(int, int, int) override { return 0; }
  int ReadBlock(int, int, std::vector<std::uint8_t>& reply) override {
    reply.assign(300, 0x5A);
    return 300;
  }
  int WriteBlock(int, int, const std::uint8_t*, int) override { return 0; }
  void CloseDevice() override {}
  bool PacedInRealTime() const override { return false; }
};

class OversizeBlock : public ::testing::Test {
 protected:
  OversizeBlock() {
    out_ = open_memstream(&out_data_, &out_size_);
    in_ = fmemopen(input_, sizeof input_ - 1, "r");
    platform::PosixConsoleSettings settings;
    settings.in = in_;
    settings.out = out_;
    console_ = std::make_unique<platform::PosixConsole>(settings);
    bus_ = std::make_unique<smb::SMBus>(adapter_, trace_);
    program_ = std::make_unique<core::Program>(*console_, *bus_);
    // Whatever lies past a buffer must not show up in a listing.
    for (char& c : program_->tempStr) c = 'Q';
    for (auto& b : program_->buff) b = 0x11;
  }
  ~OversizeBlock() override {
    program_.reset();
    console_.reset();
    std::fclose(out_);
    std::fclose(in_);
    std::free(out_data_);
  }
  std::string Output() {
    std::fflush(out_);
    return std::string(out_data_, out_size_);
  }

  char input_[4] = "ff\n";
  char* out_data_ = nullptr;
  std::size_t out_size_ = 0;
  std::FILE* out_ = nullptr;
  std::FILE* in_ = nullptr;
  LongBlockAdapter adapter_;
  smb::Trace trace_;
  std::unique_ptr<platform::PosixConsole> console_;
  std::unique_ptr<smb::SMBus> bus_;
  std::unique_ptr<core::Program> program_;
};

std::string ListingOf256() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += " 5A";
  return " Read-BLOCK from 0xff : 300 byte\n Block:" + bytes + "\n";
}

TEST_F(OversizeBlock, ReadBlockListsTheStoredBytesOnly) {
  regscan::TestReadBlock(*program_);
  const std::string out = Output();
  EXPECT_NE(out.find(ListingOf256() + Dashes(51)), std::string::npos) << out;
}

TEST_F(OversizeBlock, ReadBlock23ListsTheStoredBytesOnly) {
  regscan::TestReadBlock_23(*program_);
  std::string expected = ListingOf256();
  expected.replace(expected.find("0xff"), 4, "0x00ff");
  EXPECT_NE(Output().find(expected + "\n" + Dashes(51)), std::string::npos) << Output();
}

}  // namespace
