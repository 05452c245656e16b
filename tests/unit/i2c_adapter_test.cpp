// The i2c-dev backend against a fake of the kernel interface, with the
// simulated gauge behind it.

#include <gtest/gtest.h>

extern "C" {
#include <linux/i2c.h>
}

#include <cerrno>
#include <fstream>

#include "core/discovery.h"
#include "link/i2c/i2c_adapter.h"
#include "link/i2c/pec.h"
#include "reports/bq40z/bq40z.h"
#include "tests/fakes/fake_i2c_kernel.h"
#include "tests/support/harness.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;
using smb::i2c::I2cAdapter;

constexpr unsigned long kSmbusOnly = I2C_FUNC_SMBUS_WORD_DATA | I2C_FUNC_SMBUS_BLOCK_DATA | I2C_FUNC_SMBUS_PEC;
// A USB bridge such as the CP2112: SMBus calls without PEC, plus plain transfers.
constexpr unsigned long kBridge = I2C_FUNC_I2C | I2C_FUNC_SMBUS_WORD_DATA | I2C_FUNC_SMBUS_BLOCK_DATA;

const char* kGauge = R"({"words": {"0x0D": 85, "0x09": 15224},
  "blocks": {"0x20": {"text": "Texas Inst."}},
  "manufacturer_data": {"0x0054": "07 01 00 00",
    "0x0071": "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F"}})";

class I2cBackend : public ::testing::Test {
 protected:
  void Attach(unsigned long functions, const std::string& profile = kGauge) {
    adapter_.reset();
    fake_.reset();
    std::ofstream(device_.string()) << "";
    fake_ = std::make_unique<FakeI2cDevice>(device_, functions, profile);
    adapter_ = std::make_unique<I2cAdapter>(device_.string());
    ASSERT_EQ(adapter_->OpenDeviceVIDPID(0x04B4, 0x8613), smb::i2c::kOpenResult);
  }
  std::string Block(int command, int* result = nullptr) {
    std::vector<std::uint8_t> reply;
    const int r = adapter_->ReadBlock(0x16, command, reply);
    if (result != nullptr) *result = r;
    return std::string(reply.begin(), reply.end());
  }
  void Request(int subcommand) {
    const std::uint8_t request[2] = {static_cast<std::uint8_t>(subcommand & 0xFF),
                                     static_cast<std::uint8_t>(subcommand >> 8)};
    EXPECT_EQ(adapter_->WriteBlock(0x16, 0x44, request, 2), 0);
  }
  ScratchDirectory dir_;
  std::filesystem::path device_ = dir_.path() / "i2c-fake";
  std::unique_ptr<FakeI2cDevice> fake_;
  std::unique_ptr<I2cAdapter> adapter_;
};

TEST_F(I2cBackend, SmbusCallsCarryWordsBlocksAndTheMissingAnswer) {
  Attach(kSmbusOnly);
  EXPECT_EQ(adapter_->InterfaceID(), 0x4D5355);
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), 85);
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0E), -9);  // not acknowledged
  int result = 0;
  EXPECT_EQ(Block(0x20, &result), "Texas Inst.");
  EXPECT_EQ(result, 11);
  Request(0x0054);
  EXPECT_EQ(Block(0x44, &result), std::string("\x54\x00\x07\x01\x00\x00", 6));
  EXPECT_EQ(fake_->bus().reads_with_rdwr, 0);
  adapter_->EnablePEC(1);
  EXPECT_TRUE(fake_->bus().pec) << "the adapter's own PEC is switched on";
  adapter_->EnablePEC(0);
  EXPECT_FALSE(fake_->bus().pec);
}

TEST_F(I2cBackend, BlocksOverThirtyTwoBytesArriveWhole) {
  Attach(kBridge);
  Request(0x0071);
  int result = 0;
  const std::string reply = Block(0x44, &result);
  EXPECT_EQ(result, 34);
  ASSERT_EQ(reply.size(), 34u);
  EXPECT_EQ(reply.substr(0, 3), std::string("\x71\x00\x00", 3));
  EXPECT_EQ(reply.back(), '\x1F');
  EXPECT_EQ(fake_->bus().reads_with_rdwr, 2);  // the short first look, then the whole block
}

TEST_F(I2cBackend, WithoutPlainTransfersALongBlockIsAProtocolError) {
  Attach(kSmbusOnly);
  Request(0x0071);
  int result = 0;
  Block(0x44, &result);
  EXPECT_EQ(result, smb::kProtocolError);
}

TEST_F(I2cBackend, PecWithoutAdapterSupportIsComputedByTheProgram) {
  Attach(kBridge);
  adapter_->EnablePEC(1);
  EXPECT_FALSE(fake_->bus().pec) << "the driver has no PEC to switch on";
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), 85);
  int result = 0;
  EXPECT_EQ(Block(0x20, &result), "Texas Inst.");
  Request(0x0054);  // the gauge checks the PEC byte of the write
  EXPECT_EQ(Block(0x44, &result), std::string("\x54\x00\x07\x01\x00\x00", 6));
  EXPECT_EQ(fake_->bus().smbus_calls, 0);
  EXPECT_EQ(fake_->bus().reads_with_rdwr, 3);

  fake_->bus().corrupt_pec = true;
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), smb::kPecMismatch);
  Block(0x20, &result);
  EXPECT_EQ(result, smb::kPecMismatch);

  adapter_->EnablePEC(0);  // back to the driver's SMBus calls, no PEC byte
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), 85);
  EXPECT_GT(fake_->bus().smbus_calls, 0);
}

TEST_F(I2cBackend, AdapterPecErrorsAreReported) {
  Attach(kSmbusOnly);
  adapter_->EnablePEC(1);
  fake_->bus().corrupt_pec = true;
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), smb::kPecMismatch);
}

TEST_F(I2cBackend, NeitherPecNorPlainTransfersIsSaidOnceAndTheWorkGoesOn) {
  Attach(I2C_FUNC_SMBUS_WORD_DATA | I2C_FUNC_SMBUS_BLOCK_DATA);
  ::testing::internal::CaptureStderr();
  adapter_->EnablePEC(1);
  adapter_->EnablePEC(1);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "vantrel: " + device_.string() +
                      ": the adapter has no PEC and no plain I2C transfers; going on without PEC\n");
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), 85);
}

TEST_F(I2cBackend, WithoutSmbusBlockReadsTheI2cBlockReadServes) {
  Attach(I2C_FUNC_SMBUS_WORD_DATA | I2C_FUNC_SMBUS_READ_I2C_BLOCK);
  int result = 0;
  EXPECT_EQ(Block(0x20, &result), "Texas Inst.");
  EXPECT_EQ(result, 11);
}

TEST_F(I2cBackend, AnAddressHeldByADriverIsSharedAndUnplugClosesTheDevice) {
  std::ofstream(device_.string()) << "";
  fake_ = std::make_unique<FakeI2cDevice>(device_, kSmbusOnly, kGauge);
  fake_->bus().address_busy = true;
  adapter_ = std::make_unique<I2cAdapter>(device_.string());
  adapter_->OpenDeviceVIDPID(0, 0);
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), 85);
}

TEST_F(I2cBackend, NoBatteryIsNotAcknowledgedWhicheverCodeTheDriverUses) {
  for (const int error : {ENXIO, ENODEV}) {
    Attach(kSmbusOnly);
    fake_->bus().gauge_absent = true;
    fake_->bus().absent_error = error;
    EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), -9) << error;
    EXPECT_EQ(adapter_->InterfaceID(), 0x4D5355) << "the adapter stays open";
  }
}

TEST_F(I2cBackend, AnUnpluggedAdapterIsClosedAndReportedMissing) {
  Attach(kSmbusOnly);
  fake_->bus().gauge_absent = true;
  fake_->bus().absent_error = ENODEV;
  std::filesystem::remove(device_);  // its device node goes with it
  EXPECT_EQ(adapter_->ReadWord(0x16, 0x0D), smb::kAdapterGone);
  EXPECT_EQ(adapter_->InterfaceID(), 0);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(adapter_->OpenDeviceVIDPID(0x04B4, 0x8613), -9);
  ::testing::internal::GetCapturedStderr();
}

TEST(I2cOpen, AMissingBusOrAFileThatIsNoBusGivesTheAdapterMissingAnswers) {
  ScratchDirectory dir;
  I2cAdapter missing((dir.path() / "i2c-9").string());
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(missing.OpenDeviceVIDPID(0x04B4, 0x8613), -9);
  EXPECT_EQ(missing.OpenDeviceVIDPID(0x04B4, 0x8613), -9);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "vantrel: " + (dir.path() / "i2c-9").string() + ": No such file or directory\n");
  EXPECT_EQ(missing.InterfaceID(), 0);
  EXPECT_EQ(missing.ReadWord(0x16, 0x0D), -9);
  // Kept to be said again when the program ends, until the bus opens.
  EXPECT_EQ(std::string(missing.OpenFailure()), (dir.path() / "i2c-9").string() + ": No such file or directory");
  std::ofstream((dir.path() / "i2c-9").string()) << "";
  {
    FakeI2cDevice bus(dir.path() / "i2c-9", kSmbusOnly, kGauge);
    EXPECT_EQ(missing.OpenDeviceVIDPID(0x04B4, 0x8613), smb::i2c::kOpenResult);
    EXPECT_STREQ(missing.OpenFailure(), "");
    missing.CloseDevice();
  }

  std::ofstream((dir.path() / "plain").string()) << "";
  I2cAdapter plain((dir.path() / "plain").string());
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(plain.OpenDeviceVIDPID(0x04B4, 0x8613), -9);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("not an i2c-dev bus"), std::string::npos);
}

TEST(Pec, MatchesTheSmbusCrc8) {
  // CRC-8 (x^8 + x^2 + x + 1) of "123456789" is 0xF4.
  const std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(smb::i2c::Pec(0, digits, sizeof digits), 0xF4);
  EXPECT_EQ(smb::i2c::Pec(smb::i2c::Pec(0, {'1', '2', '3'}), digits + 3, 6), 0xF4);
}

TEST(I2cProgram, AWholeReportThroughTheKernelInterfaceMatchesTheSimulatedBattery) {
  std::string via_sim;
  std::string via_sim_trace;
  {
    TestProgram t(std::make_unique<smb::sim::SimAdapter>(smb::sim::LoadProfile("bq40z50"), false));
    reports::bq40z(t.p());
    via_sim = t.Output();
    via_sim_trace = t.TraceText();
  }
  ScratchDirectory dir;
  const auto device = dir.path() / "i2c-fake";
  std::ofstream(device.string()) << "";
  std::ifstream profile(std::string(VANTREL_SOURCE_DIR) + "/link/sim/profiles/bq40z50.json");
  const std::string json((std::istreambuf_iterator<char>(profile)), {});
  FakeI2cDevice fake(device, kBridge, json);
  auto adapter = std::make_unique<I2cAdapter>(device.string());
  adapter->OpenDeviceVIDPID(0, 0);
  adapter->EnablePEC(1);
  TestProgram t(std::move(adapter));
  reports::bq40z(t.p());
  EXPECT_EQ(t.Output(), via_sim);
  EXPECT_EQ(t.TraceText(), via_sim_trace);
}

// Block reads through the program's bus layer: no count from the bus sizes a copy.
const std::string kLongNames = R"({"blocks": {"0x21": {"text": "0123456789012345678901234567890123456789"},
  "0x20": {"text": ")" + std::string(200, 'N') + R"("}}})";

class HonestBlocks : public I2cBackend {
 protected:
  void Start(unsigned long functions) {
    program_.reset();
    Attach(functions, kLongNames);
    program_ = std::make_unique<TestProgram>(std::move(adapter_));
  }
  // The result, and whether the buffer still holds only its fill outside the block.
  template <std::size_t N>
  int Read(int command, std::uint8_t (&buffer)[N]) {
    std::fill(buffer, buffer + N, 0xEE);
    return program_->p().bus.SMBReadBlock(0x16, command, buffer);
  }
  std::unique_ptr<TestProgram> program_;
};

TEST_F(HonestBlocks, BridgesThatTruncateOrBreakSmbusBlockReadsAreReadWithPlainTransfers) {
  for (const bool mcp2221 : {false, true}) {
    Start(kBridge | I2C_FUNC_SMBUS_READ_I2C_BLOCK);
    fake_->bus().truncated_smbus_blocks = !mcp2221;
    fake_->bus().broken_smbus_blocks = mcp2221;
    std::uint8_t buffer[256];
    EXPECT_EQ(Read(0x21, buffer), 40);
    EXPECT_EQ(std::string(buffer, buffer + 40), "0123456789012345678901234567890123456789");
    EXPECT_EQ(Read(0x20, buffer), 200);
    EXPECT_EQ(std::string(buffer, buffer + 200), std::string(200, 'N'));
    EXPECT_EQ(fake_->bus().smbus_calls, 0);
  }
}

TEST_F(HonestBlocks, ACountBeyondTheBytesThatArrivedIsAnErrorNamedInTheTrace) {
  std::uint8_t buffer[256];
  // A CP2112-like driver without plain transfers: the union carries 32 bytes.
  Start(kSmbusOnly);
  fake_->bus().truncated_smbus_blocks = true;
  EXPECT_EQ(Read(0x21, buffer), smb::kProtocolError);
  EXPECT_EQ(Read(0x20, buffer), smb::kProtocolError);
  EXPECT_EQ(buffer[0], 0xEE) << "nothing is stored";
  EXPECT_EQ(program_->TraceText(), "rb 21 -> -13 (count 40, 32 bytes arrived)\n"
                                   "rb 20 -> -13 (count 200, 32 bytes arrived)\n");
  // I2C block reads: the count byte and 31 data bytes.
  Start(I2C_FUNC_SMBUS_WORD_DATA | I2C_FUNC_SMBUS_READ_I2C_BLOCK);
  EXPECT_EQ(Read(0x21, buffer), smb::kProtocolError);
  EXPECT_EQ(program_->TraceText(), "rb 21 -> -13 (count 40, 31 bytes arrived)\n");
  // The MCP2221's SMBus block read fails honestly.
  Start(kSmbusOnly);
  fake_->bus().broken_smbus_blocks = true;
  EXPECT_EQ(Read(0x21, buffer), smb::kOtherError);
}

TEST_F(HonestBlocks, ACountBeyondTheCallersBufferIsAnError) {
  Start(kBridge);
  std::uint8_t small[32];
  EXPECT_EQ(Read(0x21, small), smb::kProtocolError);
  EXPECT_EQ(small[31], 0xEE);
  EXPECT_EQ(program_->TraceText(), "rb 21 -> -13 (count 40, the reader takes 32)\n");
}

}  // namespace
