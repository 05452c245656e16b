// The manufacturer block read through command 0x44, the seal check and the
// key capture.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "reports/bq40z/internal.h"
#include "tests/reports/bq40z/expected.h"
#include "tests/support/fixture.h"

namespace {

using namespace testing_support;
using namespace bq40z_expected;
using namespace reports::bq40z_family;

// A battery whose every block read sends the same bytes, echo or not, so
// that replies shorter than the echo can be made.
class FixedReplyAdapter : public smb::Adapter {
 public:
  explicit FixedReplyAdapter(std::vector<std::uint8_t> reply) : reply_(std::move(reply)) {}
  int OpenDeviceVIDPID(int, int) override { return 0; }
  int InterfaceID() override { return 0; }
  int EnablePEC(int) override { return 0; }
  int ReadWord(int, int) override { return -9; }
  int WriteWord(int, int, int) override { return 0; }
  int ReadBlock(int, int, std::vector<std::uint8_t>& reply) override {
    reply = reply_;
    return static_cast<int>(reply_.size());
  }
  int WriteBlock(int, int, const std::uint8_t*, int) override { return 0; }
  void CloseDevice() override {}
  bool PacedInRealTime() const override { return false; }

 private:
  std::vector<std::uint8_t> reply_;
};

std::string Bytes(int first, int count) {
  std::string text;
  char hex[4];
  for (int i = 0; i < count; ++i) {
    std::snprintf(hex, sizeof hex, "%02X ", (first + i) & 0xFF);
    text += hex;
  }
  if (!text.empty()) text.pop_back();
  return text;
}

TEST(Bq40zBlockRead, RequestEchoAndDataGoToBufInOrder) {
  Rig rig(R"({"manufacturer_data": {"0x1234": "AA BB CC"}})");
  std::memset(rig.p().buf, 0x5A, sizeof rig.p().buf);
  ReportBuffer receive = {};
  ManufacturerBlockRead(rig.p(), receive, 0x1234);
  EXPECT_EQ(rig.TraceText(), "wb 44 34 12\nsleep 5\nrb 44 -> 5 34 12 aa bb cc\nsleep 5\n");
  EXPECT_EQ(rig.p().status, 5);
  EXPECT_EQ(rig.p().buf[0], 0xAA);
  EXPECT_EQ(rig.p().buf[1], 0xBB);
  EXPECT_EQ(rig.p().buf[2], 0xCC);
  // Bytes past the copied data are not cleared.
  EXPECT_EQ(rig.p().buf[3], 0x5A);
}

TEST(Bq40zBlockRead, AFailedReadLeavesBufAsItWas) {
  Rig rig(R"({"manufacturer_data": {"0x0001": "11 22", "0x0002": -7}})");
  ReportBuffer receive = {};
  ManufacturerBlockRead(rig.p(), receive, 0x0001);
  ManufacturerBlockRead(rig.p(), receive, 0x0002);
  EXPECT_EQ(rig.p().status, -7);
  EXPECT_EQ(rig.p().buf[0], 0x11);
  EXPECT_EQ(rig.p().buf[1], 0x22);
}

// A reply longer than the receive buffer is an error: nothing reaches buf,
// neither from the report's 99-byte buffer nor from the seal check's 20 bytes.
TEST(Bq40zBlockRead, LongRepliesAreRefusedByBothBuffers) {
  const std::string json = R"({"manufacturer_data": {"0x0054": ")" + Bytes(1, 200) + R"("}})";
  {
    Rig rig(json);
    std::memset(rig.p().buf, 0xEE, sizeof rig.p().buf);
    ReportBuffer receive = {};
    ManufacturerBlockRead(rig.p(), receive, 0x0054);
    EXPECT_EQ(rig.p().status, smb::kProtocolError);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(rig.p().buf[i], 0xEE) << i;
  }
  {
    Rig rig(json);
    std::memset(rig.p().buf, 0xEE, sizeof rig.p().buf);
    PrintSealUnsealDevicez40(rig.p());
    for (int i = 0; i < 256; ++i) EXPECT_EQ(rig.p().buf[i], 0xEE) << i;
  }
}

// Replies of no byte or one byte carry no data: nothing is copied.
TEST(Bq40zBlockRead, RepliesShorterThanTheEchoCopyNothing) {
  for (const std::vector<std::uint8_t>& reply : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{0x54}}) {
    Rig test(std::make_unique<FixedReplyAdapter>(reply));
    core::Program& p = test.p();
    std::memset(p.buf, 0x33, sizeof p.buf);
    ReportBuffer receive = {};
    ManufacturerBlockRead(p, receive, 0x0054);
    EXPECT_EQ(p.status, static_cast<int>(reply.size()));
    for (int i = 0; i < 256; ++i) ASSERT_EQ(p.buf[i], 0x33) << i;
  }
}

TEST(Bq40zSeal, SecurityModeFromTheSecondDataByte) {
  struct Case {
    const char* byte1;
    int before;
    int after;
    std::string line;  // between the two separators
  };
  const Case cases[] = {
      {"03", 1, 0, std::string(R) + " Device......................... SEALED" + "\n"},
      {"06", 0, 1, std::string(G) + " Device....................... UNSEALED" + "\n"},
      {"01", 0, 2, std::string(G) + " Device.......... UNSEALED & FullAccess" + "\n"},
      // The reserved combination keeps the state of the previous check.
      {"04", 2, 2, ""},
      {"04", 0, 0, ""},
  };
  for (const Case& c : cases) {
    Rig rig(std::string(R"({"manufacturer_data": {"0x0054": "00 )") + c.byte1 + R"( 00 00"}})");
    rig.p().StUnsealDevice = c.before;
    PrintSealUnsealDevicez40(rig.p());
    EXPECT_EQ(rig.Output(), Sep(M, 39) + c.line + Sep(M, 39)) << c.byte1;
    EXPECT_EQ(rig.p().StUnsealDevice, c.after) << c.byte1;
    EXPECT_EQ(rig.TraceText(), MbrTrace(0x0054, std::string(" 00 ") + c.byte1 + " 00 00")) << c.byte1;
  }
}

TEST(Bq40zSeal, AFailedReadDecidesOnTheEarlierBytes) {
  Rig rig(R"({"manufacturer_data": {"0x0054": -9}})");
  rig.p().buf[1] = 0x03;
  rig.p().StUnsealDevice = 1;
  PrintSealUnsealDevicez40(rig.p());
  EXPECT_EQ(rig.p().StUnsealDevice, 0);
}

TEST(Bq40zKeys, FullAccessStoresFourLittleEndianWordsAndPrintsNothing) {
  Rig rig(R"({"manufacturer_data": {"0x0035": "01 02 03 04 05 06 07 08"}})");
  rig.p().StUnsealDevice = 2;
  ReportBuffer receive = {};
  CaptureKeys(rig.p(), receive);
  EXPECT_EQ(rig.p().UnsealKEY1, 0x0201);
  EXPECT_EQ(rig.p().UnsealKEY2, 0x0403);
  EXPECT_EQ(rig.p().FASKEY1, 0x0605);
  EXPECT_EQ(rig.p().FASKEY2, 0x0807);
  EXPECT_EQ(rig.Output(), "");
  EXPECT_EQ(rig.TraceText(), MbrTrace(0x0035, " 01 02 03 04 05 06 07 08"));
}

TEST(Bq40zKeys, NotSentBelowFullAccess) {
  for (int state : {0, 1}) {
    Rig rig(R"({"manufacturer_data": {"0x0035": "01 02 03 04 05 06 07 08"}})");
    rig.p().StUnsealDevice = state;
    rig.p().FASKEY2 = 0xBEEF;
    ReportBuffer receive = {};
    CaptureKeys(rig.p(), receive);
    EXPECT_EQ(rig.TraceText(), "");
    EXPECT_EQ(rig.p().FASKEY2, 0xBEEF);
    EXPECT_EQ(rig.p().UnsealKEY1, 0);
  }
}

}  // namespace
