// The bq30z report as a whole: both built-in bq30z55 packs byte for byte, the
// boot-ROM guard, the seal state carried between runs, and odd answers.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "reports/bq30z/bq30z.h"
#include "tests/reports/bq30z/expected.h"
#include "tests/support/fixture.h"

namespace {

using namespace testing_support;
using namespace bq30z_expected;
using nlohmann::json;

json Shipped(const std::string& name) { return json::parse(Profile(name)); }

const std::string kClosing = std::string(M) + "---------------------------------------\n" + R;

TEST(Bq30zReport, UnsealedPackByteForByte) {
  Rig t(Profile("bq30z-unsealed"));
  reports::bq30z(t.p());
  EXPECT_EQ(t.Output(), UnsealedReport());
  EXPECT_EQ(t.TraceText(), UnsealedTrace());
  EXPECT_EQ(t.p().StUnsealDevice, 1);
  EXPECT_EQ(t.p().BootRom, 0);
}

TEST(Bq30zReport, SealedPackByteForByte) {
  Rig t(Profile("bq30z-sealed"));
  t.p().StUnsealDevice = 2;  // an earlier report saw full access
  reports::bq30z(t.p());
  EXPECT_EQ(t.Output(), SealedReport());
  EXPECT_EQ(t.TraceText(), SealedTrace());
  EXPECT_EQ(t.p().StUnsealDevice, 0);
}

// Battery Status sets its label and value colour before its read; every other
// line is read first.
TEST(Bq30zReport, BatteryStatusIsLabelledBeforeItsReadTheOtherLinesAfter) {
  Rig t(Profile("bq30z-unsealed"));
  reports::bq30z(t.p());
  const std::string merged = t.Merged();
  ExpectContainsEach(merged, {
      S(C) + " Battery Status (0x16):...... " + Y + "{rw 16 -> 192}00C0 Hex\n",
      "{rw 18 -> 4800}" + S(Y) + " Design Capacity:            " + W + "4800 mAh\n",
      "{rb 21 -> 7 62 71 33 30 7a 35 35}{sleep 3}" + S(G) + " Device Name:                ",
      "{rw 1c -> 6699}" + S(M) + " Serial Number:............. 1A2B Hex\n",
      "{ww 00 0054}{rb 23 -> 4 07 02 10 00}" + S(C) + " Operation Status (0x54): ",
      "{ww 00 0056}{rb 23 -> 2 1e 01}" + S(C) + " Gauging Status (0x0056):.... ",
      "{ww 00 0002}{rb 23 -> 11 50 05 01 02 00 1a 00 03 00 00 00}" + S(C) + " Firmware Version(0x0002) :.. ",
  });
}

TEST(Bq30zReport, BootRomGuardStopsAfterTheFirstRead) {
  const std::string header_tail = std::string(M) + Dashes(39) + "\n" + G + "          Vantrel-bq30z55\n" + W +
                                  "            READ Battery Info\n" + M + Dashes(39) + "\n";
  const std::string block = std::string(W) + Dashes(39) + "\n" + R + "         DEVICE in BOOT-ROM mod\n\n" + Y +
                            "     Please EXIT from BOOT-ROM mod\n" + W + Dashes(39) + "\n" + C;
  struct Case {
    const char* soc;
    const char* shown;
    const char* trace;
  };
  for (const Case& c : {Case{"101", "0065", "rw 0d -> 101\n"}, Case{"-9", "FFFFFFF7", "rw 0d -> -9\n"}}) {
    json profile = Shipped("bq30z-unsealed");
    profile["words"]["0x0D"] = std::stoi(c.soc);
    Rig t(profile.dump());
    reports::bq30z(t.p());
    EXPECT_EQ(t.Output(), CLS + C + " PEC = 1\n" + Y + " Read 0x0d:............... " + W + c.shown +
                              " Hex\n" + header_tail + block)
        << c.soc;
    EXPECT_EQ(t.TraceText(), c.trace) << c.soc;
    EXPECT_EQ(t.p().BootRom, 1) << c.soc;
  }
}

TEST(Bq30zReport, StateOfChargeOfOneHundredRunsTheFullReport) {
  json profile = Shipped("bq30z-unsealed");
  profile["words"]["0x0D"] = 100;
  Rig t(profile.dump());
  t.p().BootRom = 1;
  reports::bq30z(t.p());
  EXPECT_EQ(t.p().BootRom, 0);
  const std::string start = "rw 0d -> 100\nrw 03 -> 24577\n";
  EXPECT_EQ(t.TraceText().substr(0, start.size()), start);
  EXPECT_TRUE(EndsWith(t.Output(), kClosing));
}

// Mode 0 leaves the state of the previous seal check in force, and with it
// the unsealed-only section.
TEST(Bq30zReport, ReservedModeKeepsTheEarlierStateAcrossRuns) {
  json profile = Shipped("bq30z-unsealed");
  profile["manufacturer_data"]["0x0054"] = json::array({"07 02 10 00", "07 02 10 00", "07 04 10 00"});
  Rig t(profile.dump());
  reports::bq30z(t.p());
  const std::size_t first_length = t.Output().size();
  reports::bq30z(t.p());
  const std::string second = t.Output().substr(first_length);
  EXPECT_EQ(t.p().StUnsealDevice, 1);
  const std::string sep = std::string(M) + Dashes(38) + "\n";
  EXPECT_NE(second.find(std::string(Y) + "00100407 Hex\n" + R + " FVS\n CAL CHG DSG PRES\n" + sep + sep + C +
                        " Gauging Status"),
            std::string::npos);
  EXPECT_NE(second.find(std::string(W) + " Update Status: ............ " + G + "0e   " + Y + "14\n"),
            std::string::npos);
  EXPECT_NE(t.TraceText().rfind("ww 00 0073\n"), t.TraceText().find("ww 00 0073\n"));
}

TEST(Bq30zReport, ReservedModeOnAFreshProgramSkipsTheUnsealedSection) {
  json profile = Shipped("bq30z-unsealed");
  profile["manufacturer_data"]["0x0054"] = "00 00 00 00";
  Rig t(profile.dump());
  reports::bq30z(t.p());
  EXPECT_EQ(t.p().StUnsealDevice, 0);
  const std::string sep = std::string(M) + Dashes(38) + "\n";
  EXPECT_NE(t.Output().find(std::string(C) + " Operation Status (0x54): " + Y + "00000000 Hex\n" + R + sep + sep),
            std::string::npos);
  EXPECT_NE(t.Output().find(std::string(W) + "2 %\n" + sep + Y + " Device Type(0x0001)"), std::string::npos);
  EXPECT_EQ(t.TraceText().find("ww 00 0073"), std::string::npos);
  EXPECT_EQ(t.TraceText().find("rb 2f"), std::string::npos);
}

TEST(Bq30zReport, TextBlocksAreWrittenByteForByte) {
  json profile = Shipped("bq30z-unsealed");
  profile["blocks"]["0x20"] = "41 00 42";
  profile["blocks"]["0x21"] = -5;
  profile["blocks"]["0x22"] = {{"text", "LiPo-Hi-Vol"}};
  Rig t(profile.dump());
  reports::bq30z(t.p());
  const std::string out = t.Output();
  EXPECT_NE(out.find(std::string(R) + " Manufacturer Name:......... " + R + std::string("A\0B\n", 4) + G +
                     " Device Name:                " + G + "\n" + M + " Serial Number"),
            std::string::npos);
  EXPECT_NE(out.find(std::string(C) + " Device Chemistry:           " + R + "LiPo-Hi-Vol\n" + G + " Temperature"),
            std::string::npos);
  EXPECT_NE(t.TraceText().find("rb 20 -> 3 41 00 42\nsleep 3\nrb 21 -> -5\nsleep 3\nrw 1c"), std::string::npos);
}

TEST(Bq30zReport, CapacityModeCurrentAndDateValueRules) {
  json profile = Shipped("bq30z-unsealed");
  profile["words"]["0x03"] = "0xE001";
  profile["words"]["0x0A"] = "0xFC18";
  profile["words"]["0x1B"] = 0;
  Rig t(profile.dump());
  reports::bq30z(t.p());
  const std::string out = t.Output();
  EXPECT_NE(out.find(std::string(Y) + " Design Capacity:            " + W + "48000 mWh\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(C) + " Full Charge Capacity:...... " + Y + "44000 mWh\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(Y) + " Remaining Capacity:         " + M + "34320 mWh\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(W) + " Current:................... " + W + "-1000 mA\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(C) + " Manufacture Date:..... " + Y + "0000 " + C + "1980.00.00\n"),
            std::string::npos);
  // The fade line uses the raw numbers whatever the mode.
  EXPECT_NE(out.find(std::string(Y) + "-8 %      \n"), std::string::npos);
}

TEST(Bq30zReport, FullChargeAboveDesignGivesAPlusSign) {
  json profile = Shipped("bq30z-sealed");
  profile["words"]["0x18"] = 4000;
  profile["words"]["0x10"] = 4400;
  Rig t(profile.dump());
  reports::bq30z(t.p());
  EXPECT_TRUE(EndsWith(t.Output(), std::string(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y +
                                       "+10 %      \n" + kClosing));
}

TEST(Bq30zReport, DesignCapacityZeroStillReachesTheClosingSeparator) {
  json profile = Shipped("bq30z-unsealed");
  profile["words"]["0x18"] = 0;
  Rig t(profile.dump());
  reports::bq30z(t.p());
  const std::string out = t.Output();
  EXPECT_NE(out.find(std::string(Y) + " Design Capacity:            " + W + "0 mAh\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y), std::string::npos);
  EXPECT_TRUE(EndsWith(out, kClosing));
  EXPECT_TRUE(EndsWith(t.TraceText(), "rw 18 -> 0\nrw 10 -> 4400\n"));
}

// Replies of any length, error codes and short replies stay inside the
// buffers; what a short reply does not overwrite is decoded as it stands.
TEST(Bq30zReport, ShortLongAndFailedRepliesAreDecodedFromTheBuffer) {
  json profile = Shipped("bq30z-unsealed");
  std::string long_block;
  for (int i = 0; i < 255; ++i) long_block += (i == 0 ? "" : " ") + std::string("7E");
  profile["blocks"]["0x20"] = long_block;
  profile["manufacturer_data"]["0x0056"] = "5A";        // one byte: byte 1 stays from Operation Status
  profile["manufacturer_data"]["0x0057"] = -5;          // nothing stored
  profile["manufacturer_data"]["0x0051"] = long_block;  // 255 bytes
  profile["manufacturer_data"]["0x0053"] = "";
  profile["manufacturer_data"]["0x0073"] = long_block;
  profile["data_flash"]["0x0116"] = "";
  profile["data_flash"]["0x011C"] = -9;
  profile["data_flash"]["0x011A"] = "01";
  profile["data_flash"]["0x0128"] = long_block;
  Rig t(profile.dump());
  reports::bq30z(t.p());
  const std::string out = t.Output();
  EXPECT_NE(out.find(std::string(R) + " Manufacturer Name:......... " + R + std::string(255, '~') + "\n"),
            std::string::npos);
  EXPECT_NE(out.find(std::string(" Gauging Status (0x0056):.... ") + Y + "025A Hex\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(" Manufacturing Status(0x0057):") + Y + "025A Hex\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(" Safety Status (0x51):... ") + Y + "7E7E7E7E Hex\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(" PF Status (0x53):....... ") + Y + "7E7E7E7E Hex\n"), std::string::npos);
  // Qmax 0x7E7E everywhere; rows 0x16 and 0x1C keep those bytes too, so the
  // first layout matches on the long reply's bytes and U is its byte 15.
  EXPECT_NE(out.find(std::string(W) + " Qmax Pack:                  " + C + "7e7e " + M + "32382 mah\n"),
            std::string::npos);
  EXPECT_NE(out.find(std::string(G) + "7e   " + Y + "126\n"), std::string::npos);
  EXPECT_TRUE(EndsWith(out, kClosing));
  EXPECT_NE(t.TraceText().find("ww 00 0116\nrb 2f -> 0\nsleep 5\nww 00 0128\n"), std::string::npos);
}

}  // namespace
