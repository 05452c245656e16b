// A battery that announces more block bytes than a buffer holds: the read is
// a protocol error (-13), and the scans list no byte of it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/adapter.h"
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
    // Whatever lies past a buffer must not show up in a listing.
    for (char& c : program().tempStr) c = 'Q';
    for (auto& b : program().buff) b = 0x11;
  }
  core::Program& program() { return test_.p(); }
  std::string Output() { return test_.Output(); }

  TestProgram test_{std::make_unique<LongBlockAdapter>(), "ff\n"};
};

std::string ListingOfTheError() {
  return std::string(C) + " Read-BLOCK from " + R + "0xff : " + C + "4294967283 byte\n" + G + " Block:" + W + "\n";
}

TEST_F(OversizeBlock, ReadBlockListsNoByteOfIt) {
  regscan::TestReadBlock(program());
  const std::string out = Output();
  EXPECT_NE(out.find(ListingOfTheError() + W + Dashes(51)), std::string::npos) << out;
}

TEST_F(OversizeBlock, ReadBlock23ListsNoByteOfIt) {
  regscan::TestReadBlock_23(program());
  std::string expected = ListingOfTheError();
  expected.replace(expected.find("0xff"), 4, "0x00ff");
  EXPECT_NE(Output().find(expected + "\n" + W + Dashes(51)), std::string::npos) << Output();
}

}  // namespace
