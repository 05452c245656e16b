// The Qmax section's layouts by device type and the identity lines.

#include <gtest/gtest.h>

#include "reports/bq40z/internal.h"
#include "tests/reports/bq40z/expected.h"
#include "tests/support/fixture.h"

namespace {

using namespace testing_support;
using namespace bq40z_expected;
using namespace reports::bq40z_family;

std::string QmaxLines(const std::string& update, const char* c0, const char* c1, const char* c2, const char* c3,
                      const char* pack, const char* flags[4]) {
  std::string s = std::string(C) + " Update Status: ............ " + Y + update + "\n";
  s += std::string(G) + " Qmax Cell-0:                " + W + c0 + " mah\n";
  s += std::string(G) + " Qmax Cell-1: .............. " + W + c1 + " mah\n";
  s += std::string(G) + " Qmax Cell-2:                " + W + c2 + " mah\n";
  s += std::string(G) + " Qmax Cell-3: .............. " + W + c3 + " mah\n";
  s += std::string(W) + " Qmax Pack:                  " + M + pack + " mah\n";
  for (int i = 0; i < 4; ++i) {
    s += std::string(C) + " Cell-" + Y + std::to_string(i) + C + " R_a flag:            " + Y + flags[i] + "\n";
  }
  return s;
}

// Cells 980, 12345, 4000, 4001 and pack 3999 at the layout's offsets.
const char* kFlags[4] = {"0102", "0304", "0506", "0708"};

std::string Profile(const char* type_bytes, const char* layout_subcommand, const std::string& layout_data,
                    const int requests[4]) {
  char ra[256];
  std::snprintf(ra, sizeof ra, R"("0x%04X": "02 01", "0x%04X": "04 03", "0x%04X": "06 05", "0x%04X": "08 07")",
                requests[0], requests[1], requests[2], requests[3]);
  return std::string(R"({"manufacturer_data": {"0x0001": ")") + type_bytes + R"(", ")" + layout_subcommand +
         R"(": ")" + layout_data + R"(", )" + ra + "}}";
}

std::string LayoutTrace(int type, int layout, const std::string& layout_data, const int requests[4]) {
  const char* ra_trace[4] = {" 02 01", " 04 03", " 06 05", " 08 07"};
  char type_bytes[16];
  std::snprintf(type_bytes, sizeof type_bytes, " %02x %02x", type & 0xFF, type >> 8);
  std::string t = MbrTrace(0x0001, type_bytes) + MbrTrace(layout, layout_data);
  for (int i = 0; i < 4; ++i) t += MbrTrace(requests[i], ra_trace[i]);
  return t;
}

TEST(Bq40zQmax, Layout9D80UsesSubcommand011AAndBase320) {
  // Offsets 0, 2, 4, 6 cells; 8 pack; 13 update status.
  const std::string data = "D4 03 39 30 A0 0F A1 0F 9F 0F 00 00 00 07";
  const int requests[4] = {0x010A, 0x010C, 0x010E, 0x0110};
  Rig rig(Profile("80 9D", "0x011A", data, requests));
  ReportBuffer receive = {};
  QmaxSection(rig.p(), receive);
  EXPECT_EQ(rig.Output(), QmaxLines("7", "0980", "12345", "4000", "4001", "3999", kFlags));
  EXPECT_EQ(rig.TraceText(), LayoutTrace(0x9D80, 0x011A, " d4 03 39 30 a0 0f a1 0f 9f 0f 00 00 00 07", requests));
}

TEST(Bq40zQmax, Layout4695UsesSubcommand0118AndBase256) {
  // Offsets 4, 6, 8, 10 cells; 12 pack; 16 update status.
  const std::string data = "FF FF FF FF D4 03 39 30 A0 0F A1 0F 9F 0F FF FF 0E";
  const int requests[4] = {0x0108, 0x010A, 0x010C, 0x010E};
  Rig rig(Profile("95 46", "0x0118", data, requests));
  ReportBuffer receive = {};
  QmaxSection(rig.p(), receive);
  EXPECT_EQ(rig.Output(), QmaxLines("14", "0980", "12345", "4000", "4001", "3999", kFlags));
  EXPECT_EQ(rig.TraceText(),
            LayoutTrace(0x4695, 0x0118, " ff ff ff ff d4 03 39 30 a0 0f a1 0f 9f 0f ff ff 0e", requests));
}

TEST(Bq40zQmax, AnyOtherTypeTakesTheLastLayout) {
  // Offsets 6, 8, 10, 12 cells; 14 pack; 18 update status.
  const std::string data = "FF FF FF FF FF FF D4 03 39 30 A0 0F A1 0F 9F 0F FF FF FF";
  const int requests[4] = {0x0108, 0x010A, 0x010C, 0x010E};
  for (const char* type : {"00 45", "80 9E", "95 47"}) {
    Rig rig(Profile(type, "0x0118", data, requests));
    ReportBuffer receive = {};
    QmaxSection(rig.p(), receive);
    EXPECT_EQ(rig.Output(), QmaxLines("255", "0980", "12345", "4000", "4001", "3999", kFlags)) << type;
  }
}

TEST(Bq40zQmax, AShortLayoutReplyLeavesBufBytesAsTheyWere) {
  // The device-type reply fills bytes 0-1 only; the layout reply fails.
  Rig rig(R"({"manufacturer_data": {"0x0001": "00 45", "0x0118": -9}})");
  for (int i = 0; i < 20; ++i) rig.p().buf[i] = static_cast<std::uint8_t>(i == 18 ? 3 : 0);
  rig.p().buf[14] = 0x10;
  ReportBuffer receive = {};
  QmaxSection(rig.p(), receive);
  const std::string out = rig.Output();
  EXPECT_NE(out.find(std::string(" Update Status: ............ ") + Y + "3\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(" Qmax Pack:                  ") + M + "0016 mah\n"), std::string::npos);
}

TEST(Bq40zIdentity, FourReadsAndTheirByteOrders) {
  Rig rig(R"({"manufacturer_data": {"0x0001": "00 45", "0x0002": "AA BB 01 02 CC",
             "0x0003": "A1 00", "0x0006": "12 10"}})");
  ReportBuffer receive = {};
  PrintGaugeRegisters(rig.p(), receive, kIdentity);
  EXPECT_EQ(rig.Output(), std::string(Y) + " Device Type(0x0001) :...... " + R + "4500 Hex\n" + C +
                              " Firmware Version(0x0002) :. " + W + "0102 Hex\n" + M + " Hardware Version(0x0003) :. " +
                              C + "00A1 Hex\n" + W + " Chemistry ID(0x0006) :..... " + Y + "1012 Hex\n");
  EXPECT_EQ(rig.TraceText(), MbrTrace(0x0001, " 00 45") + MbrTrace(0x0002, " aa bb 01 02 cc") +
                                 MbrTrace(0x0003, " a1 00") + MbrTrace(0x0006, " 12 10"));
}

}  // namespace
