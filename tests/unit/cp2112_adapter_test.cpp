// The CP2112 backend against a fake chip written from AN495, with the
// simulated gauge behind it.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "link/cp2112/cp2112_adapter.h"
#include "link/cp2112/protocol.h"
#include "link/i2c/pec.h"
#include "reports/bq40z/bq40z.h"
#include "tests/fakes/fake_cp2112.h"
#include "tests/support/harness.h"
#include "tests/support/unpaced_adapter.h"

namespace {

using namespace testing_support;
using smb::cp2112::Cp2112Adapter;

// 0x44 after a request of 0x0071: its two echo bytes and 32 data bytes;
// block 0x30: 200 bytes 0x00, 0x01, ... 0xC7.
std::string Gauge() {
  std::string long_block;
  for (int i = 0; i < 200; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X ", i);
    long_block += hex;
  }
  long_block.pop_back();
  return R"({"words": {"0x0D": 85}, "blocks": {"0x20": {"text": "Texas Inst."}, "0x30": ")" + long_block +
         R"("}, "manufacturer_data": {"0x0071": "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F"}})";
}

class Cp2112Backend : public ::testing::Test {
 protected:
  std::unique_ptr<Cp2112Adapter> Adapter(std::vector<std::shared_ptr<FakeCp2112>> chips, const std::string& serial = "",
                                         std::uint32_t clock_hz = 100000) {
    return std::make_unique<Cp2112Adapter>(std::make_unique<FakeCp2112Transport>(chips), serial, clock_hz);
  }
  void Attach() {
    adapter_ = Adapter({chip_});
    ASSERT_EQ(adapter_->OpenDeviceVIDPID(0x04B4, 0x8613), 2) << "the chip's version";
    chip_->sent.clear();
  }
  std::string Block(int command, int* result) {
    std::vector<std::uint8_t> reply;
    *result = adapter_->ReadBlock(0x16, command, reply);
    return std::string(reply.begin(), reply.end());
  }
  void Request(int subcommand) {
    const std::uint8_t request[2] = {static_cast<std::uint8_t>(subcommand & 0xFF),
                                     static_cast<std::uint8_t>(subcommand >> 8)};
    ASSERT_EQ(adapter_->WriteBlock(0x16, 0x44, request, 2), 0);
  }
  int Sent(std::uint8_t report) { return chip_->sent[report]; }

  std::shared_ptr<FakeCp2112> chip_ = FakeCp2112Transport::Chip(Gauge());
  std::unique_ptr<Cp2112Adapter> adapter_;
};

TEST_F(Cp2112Backend, OpenConfiguresTheBusAndAWordTakesARequestTheStatusPollsAndOneRead) {
  Attach();
  // 100 kHz, auto-send-read off, 500 ms timeouts, SCL low timeout on, 3 retries.
  const std::vector<std::uint8_t> config = {0x06, 0x00, 0x01, 0x86, 0xA0, 0x02, 0x00,
                                            0x01, 0xF4, 0x01, 0xF4, 0x01, 0x00, 0x03};
  EXPECT_EQ(chip_->smbus_config, config);
  EXPECT_EQ(adapter_->InterfaceID(), 0x4D5355);
  chip_->busy_polls = 2;
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), 85);
  EXPECT_EQ(Sent(0x11), 1);
  EXPECT_EQ(Sent(0x15), 3) << "two answered busy, the third complete";
  EXPECT_EQ(Sent(0x12), 1);
  EXPECT_EQ(chip_->SentTotal(), 5);
  EXPECT_EQ(chip_->input_reports, 4);

  adapter_->EnablePEC(1);
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), 85);
  EXPECT_EQ(adapter_->WriteWord(0x16, 0x00, 0x0054), 0) << "the fake gauge checks the write's PEC byte";
  EXPECT_EQ(Sent(0x14), 1);

  ASSERT_EQ(Adapter({chip_}, "", 50000)->OpenDeviceVIDPID(0, 0), 2);
  EXPECT_EQ(std::vector<std::uint8_t>(chip_->smbus_config.begin() + 1, chip_->smbus_config.begin() + 5),
            (std::vector<std::uint8_t>{0x00, 0x00, 0xC3, 0x50}))
      << "50 kHz";
}

TEST_F(Cp2112Backend, BlocksOf34And200BytesArriveWholeWithTheirPec) {
  Attach();
  adapter_->EnablePEC(1);
  int result = 0;
  EXPECT_EQ(Block(0x20, &result), "Texas Inst.");
  EXPECT_EQ(result, 11);
  Request(0x0071);
  chip_->sent.clear();
  const std::string reply = Block(0x44, &result);
  ASSERT_EQ(result, 34);
  EXPECT_EQ(reply.substr(0, 3), std::string("\x71\x00\x00", 3));
  EXPECT_EQ(reply.back(), '\x1F');
  EXPECT_EQ(Sent(0x11), 1) << "a bq40z block fits the first read";

  chip_->sent.clear();
  const std::string long_block = Block(0x30, &result);
  ASSERT_EQ(result, 200);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(static_cast<std::uint8_t>(long_block[i]), i);
  EXPECT_EQ(Sent(0x11), 2) << "the first read, then one of the block's length";
  EXPECT_EQ(Sent(0x12), 1 + 4) << "36 bytes, then 202 bytes in reports of 61";
}

TEST_F(Cp2112Backend, PecMismatchNackArbitrationAndTheirCodes) {
  Attach();
  adapter_->EnablePEC(1);
  int result = 0;
  chip_->corrupt_pec = true;
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), smb::kPecMismatch);
  Block(0x20, &result);
  EXPECT_EQ(result, smb::kPecMismatch);
  adapter_->EnablePEC(0);
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), 85) << "without PEC the byte is not read";
  chip_->corrupt_pec = false;

  chip_->gauge_absent = true;
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), smb::kNotAcknowledged);
  EXPECT_EQ(Block(0x20, &result), "");
  EXPECT_EQ(result, smb::kNotAcknowledged);
  EXPECT_EQ(adapter_->WriteWord(0x16, 0x00, 0x0054), smb::kNotAcknowledged);
  chip_->gauge_absent = false;
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0E), smb::kNotAcknowledged) << "a register the gauge does not answer";

  chip_->arbitration_lost = true;
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), smb::kArbitrationLost);
}

TEST_F(Cp2112Backend, AHungTransferIsCancelledAndTheNextOneWorks) {
  Attach();
  chip_->hung_transfers = 1;
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), smb::kNotAcknowledged);
  EXPECT_EQ(Sent(0x15), smb::cp2112::kStatusPollLimit);
  EXPECT_EQ(Sent(0x17), 1);
  EXPECT_EQ(Sent(0x12), 0) << "nothing is read from a cancelled transfer";
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), 85);
}

TEST_F(Cp2112Backend, ARevisionOneChipIsRefusedAtOpenWithItsReason) {
  chip_->device_version = 1;
  adapter_ = Adapter({chip_});
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(adapter_->OpenDeviceVIDPID(0x04B4, 0x8613), smb::kNotAcknowledged);
  EXPECT_EQ(adapter_->OpenDeviceVIDPID(0x04B4, 0x8613), smb::kNotAcknowledged);
  const std::string said = ::testing::internal::GetCapturedStderr();
  const std::string reason =
      "CP2112 0001A2B3 is a revision-1 chip (version 1), which cannot make the write-read transfers of SMBus reads; "
      "use a later CP2112";
  EXPECT_EQ(said, "vantrel: " + reason + "\n") << "said once";
  EXPECT_EQ(adapter_->OpenFailure(), reason);
  EXPECT_EQ(adapter_->InterfaceID(), 0);
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), smb::kNotAcknowledged);
  EXPECT_EQ(Sent(0x11), 0);
}

TEST_F(Cp2112Backend, TheSerialChoosesAChipAndAnUnpluggedOneIsLookedForAgain) {
  auto second = FakeCp2112Transport::Chip(Gauge());
  second->serial = "0002C4D5";
  second->device_version = 3;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(Adapter({chip_, second})->OpenDeviceVIDPID(0, 0), smb::kNotAcknowledged);
  EXPECT_EQ(Adapter({chip_, second}, "0009")->OpenDeviceVIDPID(0, 0), smb::kNotAcknowledged);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "vantrel: several CP2112s; choose one with cp2112:SERIAL (serials: 0001A2B3 0002C4D5)\n"
            "vantrel: CP2112 0009: not found (is it plugged in?)\n");

  adapter_ = Adapter({chip_, second}, "0002C4D5");
  EXPECT_EQ(adapter_->OpenDeviceVIDPID(0, 0), 3);
  second->unplugged = true;
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), smb::kAdapterGone);
  EXPECT_EQ(adapter_->InterfaceID(), 0) << "closed";
  second->unplugged = false;
  EXPECT_EQ(adapter_->OpenDeviceVIDPID(0, 0), 3);
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), 85);
}

// hidapi on Linux, hid.dll and SetupAPI on Windows (under wine in the tests).
TEST(SystemHid, ListsNoDeviceOfAnUnknownIdentityAndSaysWhyAPathDoesNotOpen) {
  auto transport = platform::SystemHidTransport();
  ASSERT_EQ(transport->Unavailable(), "");
  EXPECT_TRUE(transport->Enumerate(0x0000, 0x0001).empty());
  std::string error;
  EXPECT_EQ(transport->Open("/nonexistent/hidraw99", error), nullptr);
  EXPECT_NE(error, "");
}

TEST(Cp2112Program, AWholeReportThroughTheChipMatchesTheSimulatedBattery) {
  std::string via_sim;
  std::string via_sim_trace;
  {
    TestProgram t(std::make_unique<smb::sim::SimAdapter>(smb::sim::LoadProfile("bq40z50"), false));
    reports::bq40z(t.p());
    via_sim = t.Output();
    via_sim_trace = t.TraceText();
  }
  std::ifstream profile(std::string(VANTREL_SOURCE_DIR) + "/link/sim/profiles/bq40z50.json");
  auto chip = FakeCp2112Transport::Chip(std::string((std::istreambuf_iterator<char>(profile)), {}));
  auto adapter = std::make_unique<UnpacedAdapter>(
      std::make_unique<Cp2112Adapter>(std::make_unique<FakeCp2112Transport>(std::vector{chip}), "", 100000));
  ASSERT_EQ(adapter->OpenDeviceVIDPID(0, 0), 2);
  adapter->EnablePEC(1);
  TestProgram t(std::move(adapter));
  reports::bq40z(t.p());
  EXPECT_EQ(t.Output(), via_sim);
  EXPECT_EQ(t.TraceText(), via_sim_trace);
}

}  // namespace
