// The whole bq40z report on the built-in bq40z50 batteries: output with
// colours, bus trace, and where each read stands against the output.

#include <gtest/gtest.h>

#include "reports/bq40z/bq40z.h"
#include "tests/reports/bq40z/rig.h"

namespace {

using namespace testing_support;
using namespace bq40z_tests;

// --- expected output of the built-in bq40z50 packs ---

std::string Header() {
  return std::string("\f") + C + " PEC = 1\n" + Y + " Read 0x0d:............... " + W + "0055 Hex\n" + Sep() + G +
         "         Vantrel-bq40z50" + "\n" + W + "          READ  Battery Info" + "\n" + Sep();
}

std::string StandardLines() {
  std::string s;
  s += std::string(Y) + " Design Capacity:            " + W + "4800 mAh\n";
  s += std::string(C) + " Full Charge Capacity:...... " + Y + "4400 mAh\n";
  s += std::string(M) + " Cycle Count:                " + W + "37\n";
  s += std::string(C) + " Manufacture Date:..... " + Y + "4a6f " + C + "2017.03.15\n";
  s += std::string(Y) + " Design Voltage:             " + W + "14400 mV\n";
  s += std::string(R) + " Manufacturer Name:......... " + R + "Texas Inst." + "\n";
  s += std::string(G) + " Device Name:                " + G + "bq40z50" + "\n";
  s += std::string(C) + " Serial Number:............. " + C + "0A1B HEX\n";
  s += std::string(Y) + " Charging Voltage:           " + Y + "16800 mV\n";
  s += std::string(W) + " Charging Current:.......... " + W + "2000 mA\n";
  s += std::string(M) + " Device Chemistry:           " + M + "LION" + "\n";
  s += std::string(C) + " Temperature:............... 25.05 C\n";
  s += std::string(Y) + " Voltage:                    " + Y + "15224 mV\n";
  s += std::string(W) + " Current:................... " + W + "-1000 mA\n";
  s += std::string(C) + " RelativeSOC                 85 %\n";
  s += std::string(G) + " AbsoluteSOC................ 80 %\n";
  s += std::string(Y) + " Remaining Capacity:         " + M + "3740 mAh\n";
  // Cells from words 0x3F (cell 1) down to 0x3C (cell 4), cell 4 first.
  s += std::string(W) + " Word 3C  " + C + "VCELL 4:........... " + W + "3805 mV\n";
  s += std::string(W) + " Word 3D  " + C + "VCELL 3:            " + W + "3806 mV\n";
  s += std::string(W) + " Word 3E  " + C + "VCELL 2:........... " + W + "3805 mV\n";
  s += std::string(W) + " Word 3F  " + C + "VCELL 1:            " + W + "3808 mV\n";
  s += std::string(G) + " Specification Info:........ " + Y + "0031 Hex\n";
  s += Sep();
  return s;
}

std::string StatusUpToOperation(const std::string& sec_byte) {
  std::string s;
  s += std::string(C) + " BatteryStatus (0x16):...... " + Y + "00C0 Hex\n" + R + " INIT DSG" + "\n" + Sep();
  s += std::string(C) + " BatteryMode (0x03):........ " + Y + "6001 Hex\n" + R + " ChgM AM ICC" + "\n" + Sep();
  const std::string sec_names = sec_byte == "02" ? " SEC1" : sec_byte == "03" ? " SEC1 SEC0" : " SEC0";
  s += std::string(C) + " OperationStatus (0x54):.. " + Y + "1000" + sec_byte + "87 Hex\n" + R + " CB" + "\n" +
       sec_names + " BTPint  CHG  DSG  PRES " + "\n";
  return s;
}

std::string StatusAfterSeal() {
  std::string s;
  s += std::string(C) + " GaugingStatus (0x0056):.... " + Y + "011840 Hex\n" + R + " VDQ" + "\n" + " QEN VOK DSG" +
       "\n" + Sep();
  s += std::string(C) + " ManufacturingStatus (0x0057): " + Y + "0038 Hex\n" + R + " LF FET GAUGE" + "\n" + Sep();
  s += std::string(C) + " SafetyStatus (0x51):..... " + Y + "00000000 Hex\n" + R + W +
       " No Flags                    OK" + "\n" + Sep();
  s += std::string(C) + " PFStatus (0x53):......... " + Y + "00000000 Hex\n" + R + W +
       " No Flags                    OK" + "\n" + Sep();
  s += std::string(C) + " ChargingStatus (0x55):..... " + Y + "000400 Hex\n" + R + " MV" + "\n" + Sep();
  s += std::string(C) + " Max Error:                  " + W + "1 %\n";
  return s;
}

std::string SealLines(const char* colour, const char* line) {
  return Sep() + colour + line + "\n" + Sep();
}

std::string QmaxLines() {
  std::string s;
  s += std::string(C) + " Update Status: ............ " + Y + "14\n";
  s += std::string(G) + " Qmax Cell-0:                " + W + "4420 mah\n";
  s += std::string(G) + " Qmax Cell-1: .............. " + W + "4415 mah\n";
  s += std::string(G) + " Qmax Cell-2:                " + W + "4430 mah\n";
  s += std::string(G) + " Qmax Cell-3: .............. " + W + "4410 mah\n";
  s += std::string(W) + " Qmax Pack:                  " + M + "4410 mah\n";
  const char* flags[4] = {"0055", "0055", "0000", "0055"};
  for (int i = 0; i < 4; ++i) {
    s += std::string(C) + " Cell-" + Y + std::to_string(i) + C + " R_a flag:            " + Y + flags[i] + "\n";
  }
  return s;
}

std::string IdentityAndEnd() {
  std::string s;
  s += std::string(Y) + " Device Type(0x0001) :...... " + R + "4500 Hex\n";
  s += std::string(C) + " Firmware Version(0x0002) :. " + W + "0109 Hex\n";
  s += std::string(M) + " Hardware Version(0x0003) :. " + C + "00A1 Hex\n";
  s += std::string(W) + " Chemistry ID(0x0006) :..... " + Y + "1012 Hex\n";
  s += Sep();
  // Design 4800, full charge 4400: (4800 - 4400) * 100 / 4800 = 8.
  s += std::string(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y + "-8 %      \n";
  s += Sep() + R;
  return s;
}

// --- expected bus traffic ---

std::string TraceUpToOperation(const std::string& sec_byte) {
  std::string t =
      "rw 0d -> 85\n"
      "rw 03 -> 24577\nsleep 0\n"
      "rw 18 -> 4800\nsleep 0\n"
      "rw 10 -> 4400\n"
      "rw 17 -> 37\n"
      "rw 1b -> 19055\n"
      "rw 19 -> 14400\n"
      "rb 20 -> 11 54 65 78 61 73 20 49 6e 73 74 2e\n"
      "rb 21 -> 7 62 71 34 30 7a 35 30\n"
      "rw 1c -> 2587\n"
      "rw 15 -> 16800\n"
      "rw 14 -> 2000\n"
      "rb 22 -> 4 4c 49 4f 4e\n"
      "rw 08 -> 2982\n"
      "rw 09 -> 15224\n"
      "rw 0a -> 64536\n"
      "rw 0d -> 85\n"
      "rw 0e -> 80\n"
      "rw 0f -> 3740\n"
      // cell-voltage search: candidate 1 does not answer, candidate 2 fits
      "rw 09 -> 15224\nrw 3b -> -9\nrw 3a -> -9\nrw 39 -> -9\nrw 38 -> -9\n"
      "rw 09 -> 15224\nrw 3f -> 3808\nrw 3e -> 3805\nrw 3d -> 3806\nrw 3c -> 3805\n"
      "rw 1a -> 49\n"
      "rw 16 -> 192\n"
      "rw 03 -> 24577\nsleep 0\n";
  t += MbrTrace(0x0054, " 87 " + sec_byte + " 00 10");
  return t;
}

std::string TraceAfterKeys() {
  return MbrTrace(0x0056, " 40 18 01") + MbrTrace(0x0057, " 38 00") + MbrTrace(0x0051, " 00 00 00 00") +
         MbrTrace(0x0053, " 00 00 00 00") + MbrTrace(0x0055, " 00 04 00") + "rw 0c -> 1\nsleep 1\n";
}

std::string QmaxTrace() {
  return MbrTrace(0x0001, " 00 45") +
         MbrTrace(0x0118, " 0a 00 0b 00 0c 00 44 11 3f 11 4e 11 3a 11 3a 11 00 00 0e 00") +
         MbrTrace(0x0108, " 55 00 2b 00") + MbrTrace(0x010A, " 55 00 2c 00") + MbrTrace(0x010C, " 00 00 2a 00") +
         MbrTrace(0x010E, " 55 00 2d 00");
}

std::string IdentityTrace() {
  return MbrTrace(0x0001, " 00 45") + MbrTrace(0x0002, " 00 45 01 09 00 17 00 03 85 02 00") +
         MbrTrace(0x0003, " a1 00") + MbrTrace(0x0006, " 12 10") + "rw 18 -> 4800\nrw 10 -> 4400\n";
}

TEST(Bq40zReport, UnsealedDefaultPackByteForByte) {
  Rig rig("bq40z50");
  rig.p().StUnsealDevice = 0;
  reports::bq40z(rig.p());
  EXPECT_EQ(rig.Output(), Header() + StandardLines() + StatusUpToOperation("02") +
                              SealLines(G, " Device....................... UNSEALED") + StatusAfterSeal() + Sep() +
                              QmaxLines() + Sep() + IdentityAndEnd());
  // The seal check reads OperationStatus once more with its own buffer.
  EXPECT_EQ(rig.TraceText(), TraceUpToOperation("02") + MbrTrace(0x0054, " 87 02 00 10") + TraceAfterKeys() +
                                 QmaxTrace() + IdentityTrace());
  EXPECT_EQ(rig.p().StUnsealDevice, 1);
  EXPECT_EQ(rig.p().BootRom, 0);
}

TEST(Bq40zReport, SealedPackHasNoQmaxSectionAndKeepsTheKeys) {
  Rig rig("bq40z50-sealed");
  rig.p().StUnsealDevice = 2;  // left by an earlier report
  rig.p().UnsealKEY1 = 0x1111;
  reports::bq40z(rig.p());
  // Max Error is followed by one separator and then the identity lines.
  EXPECT_EQ(rig.Output(), Header() + StandardLines() + StatusUpToOperation("03") +
                              SealLines(R, " Device......................... SEALED") + StatusAfterSeal() + Sep() +
                              IdentityAndEnd());
  EXPECT_EQ(rig.TraceText(), TraceUpToOperation("03") + MbrTrace(0x0054, " 87 03 00 10") + TraceAfterKeys() +
                                 IdentityTrace());
  EXPECT_EQ(rig.p().StUnsealDevice, 0);
  EXPECT_EQ(rig.p().UnsealKEY1, 0x1111);
}

TEST(Bq40zReport, FullAccessPackCapturesTheKeysSilently) {
  Rig rig("bq40z50-fullaccess");
  reports::bq40z(rig.p());
  EXPECT_EQ(rig.Output(), Header() + StandardLines() + StatusUpToOperation("01") +
                              SealLines(G, " Device.......... UNSEALED & FullAccess") + StatusAfterSeal() + Sep() +
                              QmaxLines() + Sep() + IdentityAndEnd());
  EXPECT_EQ(rig.TraceText(), TraceUpToOperation("01") + MbrTrace(0x0054, " 87 01 00 10") +
                                 MbrTrace(0x0035, " 14 04 72 36 ff ff ff ff") + TraceAfterKeys() + QmaxTrace() +
                                 IdentityTrace());
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
      "{rw 0e -> 80}" + std::string(G) + " AbsoluteSOC",
      "{rw 0f -> 3740}" + std::string(Y) + " Remaining Capacity:         ",
      "{rw 0c -> 1}{sleep 1}" + std::string(C) + " Max Error:                  ",
  };
  for (const std::string& row : read_first) EXPECT_NE(merged.find(row), std::string::npos) << row;
  // The header reads state of charge after the PEC line, before its label.
  EXPECT_EQ(merged.find(std::string("\f") + C + " PEC = 1\n{rw 0d -> 85}" + Y + " Read 0x0d:"), 0u);
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
    const std::string head = std::string("\f") + C + " PEC = 1\n" + Y + " Read 0x0d:............... " + W + c.hex +
                             " Hex\n" + Sep() + G + "         Vantrel-bq40z50" + "\n" + W +
                             "          READ  Battery Info" + "\n" + Sep();
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
  const std::string tail = Sep() + R;
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
  EXPECT_NE(out.find(std::string(" OperationStatus (0x54):.. ") + Y + "00000000 Hex\n" + R + Sep() + Sep()),
            std::string::npos);
}

}  // namespace
