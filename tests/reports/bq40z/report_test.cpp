// The whole bq40z report on the built-in bq40z50 batteries: output with
// colours, bus trace, and where each read stands against the output.

#include <gtest/gtest.h>

#include "reports/bq40z/bq40z.h"
#include "tests/reports/bq40z/expected.h"
#include "tests/support/fixture.h"

namespace {

using namespace testing_support;
using namespace bq40z_expected;

TEST(Bq40zReport, UnsealedDefaultPackByteForByte) {
  Rig rig("bq40z50");
  rig.p().StUnsealDevice = 0;
  reports::bq40z(rig.p());
  EXPECT_EQ(rig.Output(), PackReport(Pack::Unsealed));
  EXPECT_EQ(rig.TraceText(), PackTrace(Pack::Unsealed));
  EXPECT_EQ(rig.p().StUnsealDevice, 1);
  EXPECT_EQ(rig.p().BootRom, 0);
}

TEST(Bq40zReport, SealedPackHasNoQmaxSectionAndKeepsTheKeys) {
  Rig rig("bq40z50-sealed");
  rig.p().StUnsealDevice = 2;  // left by an earlier report
  rig.p().UnsealKEY1 = 0x1111;
  reports::bq40z(rig.p());
  EXPECT_EQ(rig.Output(), PackReport(Pack::Sealed));
  EXPECT_EQ(rig.TraceText(), PackTrace(Pack::Sealed));
  EXPECT_EQ(rig.p().StUnsealDevice, 0);
  EXPECT_EQ(rig.p().UnsealKEY1, 0x1111);
}

TEST(Bq40zReport, FullAccessPackCapturesTheKeysSilently) {
  Rig rig("bq40z50-fullaccess");
  reports::bq40z(rig.p());
  EXPECT_EQ(rig.Output(), PackReport(Pack::FullAccess));
  EXPECT_EQ(rig.TraceText(), PackTrace(Pack::FullAccess));
  EXPECT_EQ(rig.p().StUnsealDevice, 2);
  EXPECT_EQ(rig.p().UnsealKEY1, 0x0414);
  EXPECT_EQ(rig.p().UnsealKEY2, 0x3672);
  EXPECT_EQ(rig.p().FASKEY1, 0xFFFF);
  EXPECT_EQ(rig.p().FASKEY2, 0xFFFF);
}

TEST(Bq40zReport, LabelFirstRowsShowTheLabelBeforeTheRead) {
  Rig rig("bq40z50");
  reports::bq40z(rig.p());
  const std::string merged = rig.Merged();
  const std::string label_first[] = {
      std::string(C) + " Full Charge Capacity:...... " + Y + "{rw 10 -> 4400}4400 mAh\n",
      std::string(M) + " Cycle Count:                " + W + "{rw 17 -> 37}37\n",
      std::string(Y) + " Design Voltage:             " + W + "{rw 19 -> 14400}14400 mV\n",
      std::string(C) + " Serial Number:............. " + C + "{rw 1c -> 2587}0A1B HEX\n",
      std::string(Y) + " Charging Voltage:           " + Y + "{rw 15 -> 16800}16800 mV\n",
      std::string(W) + " Charging Current:.......... " + W + "{rw 14 -> 2000}2000 mA\n",
      std::string(Y) + " Voltage:                    " + Y + "{rw 09 -> 15224}15224 mV\n",
      std::string(W) + " Current:................... " + W + "{rw 0a -> 64536}-1000 mA\n",
      std::string(G) + " Specification Info:........ " + Y + "{rw 1a -> 49}0031 Hex\n",
  };
  for (const std::string& row : label_first) EXPECT_NE(merged.find(row), std::string::npos) << row;
  // All other rows read (and sleep) before anything of the row is written.
  const std::string read_first[] = {
      "{rw 18 -> 4800}{sleep 0}" + std::string(Y) + " Design Capacity:            " + W + "4800 mAh\n",
      "{rw 1b -> 19055}" + std::string(C) + " Manufacture Date:..... ",
      "{rb 20 -> 11 54 65 78 61 73 20 49 6e 73 74 2e}" + std::string(R) + " Manufacturer Name:......... ",
      "{rb 21 -> 7 62 71 34 30 7a 35 30}" + std::string(G) + " Device Name:                ",
      "{rb 22 -> 4 4c 49 4f 4e}" + std::string(M) + " Device Chemistry:           ",
      "{rw 08 -> 2982}" + std::string(C) + " Temperature:",
      "{rw 0d -> 85}" + std::string(C) + " RelativeSOC",
      "{rw 0e -> 78}" + std::string(G) + " AbsoluteSOC",
      "{rw 0f -> 3740}" + std::string(Y) + " Remaining Capacity:         ",
      "{rw 0c -> 1}{sleep 1}" + std::string(C) + " Max Error:                  ",
  };
  for (const std::string& row : read_first) EXPECT_NE(merged.find(row), std::string::npos) << row;
  // The header reads state of charge after the PEC line, before its label.
  EXPECT_EQ(merged.find(CLS + C + " PEC = 1\n{rw 0d -> 85}" + Y + " Read 0x0d:"), 0u);
}

// The value of the first state-of-charge read decides whether the report runs.
TEST(Bq40zReport, BootRomGuard) {
  const std::string boot_lines = std::string(R) + "        Device in BOOT-rom mod." + "\n" + W +
                                 "   Please FIRST EXIT BOOT-rom mod !!!" + "\n" + C + Dashes(39) + "\n";
  struct Case {
    const char* soc;
    const char* hex;
    bool guard;
  };
  for (const Case& c : {Case{"101", "0065", true}, Case{"-5", "FFFFFFFB", true}, Case{"100", "0064", false}}) {
    Rig rig(std::string(R"({"words": {"0x0D": )") + c.soc + "}}");
    reports::bq40z(rig.p());
    const std::string head = CLS + C + " PEC = 1\n" + Y + " Read 0x0d:............... " + W + c.hex +
                             " Hex\n" + Sep(M, 39) + G + "         Vantrel-bq40z50" + "\n" + W +
                             "          READ  Battery Info" + "\n" + Sep(M, 39);
    if (c.guard) {
      EXPECT_EQ(rig.Output(), head + boot_lines) << c.soc;
      EXPECT_EQ(rig.TraceText(), std::string("rw 0d -> ") + c.soc + "\n") << c.soc;
      EXPECT_EQ(rig.p().BootRom, 1);
    } else {
      EXPECT_EQ(rig.Output().substr(0, head.size()), head);
      EXPECT_NE(rig.TraceText().find("rw 03 -> -9\nsleep 0\n"), std::string::npos);
      EXPECT_EQ(rig.p().BootRom, 0);
    }
  }
}

TEST(Bq40zReport, CapacityModeAndDesignCapacityZero) {
  // BatteryMode bit 15: capacities in 10 mWh; Design Capacity 0 must not stop the report.
  Rig rig(R"({"words": {"0x0D": 50, "0x03": "0x8000", "0x18": 0, "0x10": 440, "0x0F": 300}})");
  reports::bq40z(rig.p());
  const std::string out = rig.Output();
  EXPECT_NE(out.find(std::string(" Design Capacity:            ") + W + "00 mWh\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(" Full Charge Capacity:...... ") + Y + "4400 mWh\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(" Remaining Capacity:         ") + M + "3000 mWh\n"), std::string::npos);
  const std::string delta = std::string(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y;
  const std::size_t at = out.find(delta);
  ASSERT_NE(at, std::string::npos);
  // The closing separator and the red colour still end the report.
  const std::string tail = Sep(M, 39) + R;
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  EXPECT_EQ(out.find('\n', at) + 1, out.size() - tail.size());
  const std::string trace_end = "sleep 5\nrw 18 -> 0\nrw 10 -> 440\n";
  EXPECT_EQ(rig.TraceText().substr(rig.TraceText().size() - trace_end.size()), trace_end);
}

TEST(Bq40zReport, UnansweredBatteryShowsErrorCodesThroughTheFormats) {
  Rig rig(R"({"words": {"0x0D": 10}, "missing": -9})");
  reports::bq40z(rig.p());
  const std::string out = rig.Output();
  // -9 has bit 15 set: the 10 mWh mode.
  EXPECT_NE(out.find(std::string(" Design Capacity:            ") + W + "42949672870 mWh\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(" Serial Number:............. ") + C + "FFFFFFF7 HEX\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(" Manufacturer Name:......... ") + R + "\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(" Current:................... ") + W + "-9 mA\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(" BatteryStatus (0x16):...... ") + Y + "FFFFFFF7 Hex\n"), std::string::npos);
  // Every manufacturer block read failed: buf stays zero, no security line.
  EXPECT_NE(out.find(std::string(" OperationStatus (0x54):.. ") + Y + "00000000 Hex\n" + R + Sep(M, 39) + Sep(M, 39)),
            std::string::npos);
}

}  // namespace
