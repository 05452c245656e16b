// The bq9000-family report on simulated gauges: mode detection, the battery
// data lines, the status section and the closing capacity line.

#include <gtest/gtest.h>

#include <string>

#include "reports/bq9000/bq9000.h"
#include "reports/bq9000/internal.h"
#include "tests/support/fixture.h"

namespace {

using namespace testing_support;

// A normal 4-cell pack; `extra` (", KEY: VALUE") adds or overrides word entries.
std::string Pack(const std::string& word72, const std::string& battery_mode) {
  return R"({
    "words": {
      "0x72": )" + word72 + R"(, "0x03": )" + battery_mode + R"(,
      "0x18": 4400, "0x10": 4000, "0x17": 37, "0x1B": "0x4A21", "0x19": 14400,
      "0x1C": "0x0A1B", "0x15": 16800, "0x14": 2000, "0x08": 2982, "0x09": 14806,
      "0x0A": "0xFC18", "0x0D": 85, "0x0E": 80, "0x0F": 3740,
      "0x3B": 3700, "0x3A": 3701, "0x39": 3702, "0x38": 3703,
      "0x1A": "0x0031", "0x0C": 1, "0x16": "0x00C0", "0x00": "0xC206"
    },
    "blocks": { "0x20": {"text": "SDI"}, "0x21": {"text": "bq8030"}, "0x22": {"text": "LION"} }
  })";
}

std::string Header(const std::string& detection, const char* prefix, const char* mode) {
  return CLS + detection + C + " PEC = 1\n" + Sep(M, 40) + G + "           Vantrel-bq9000\n" + "\n" + W + prefix +
         Y + mode + "\n" + Sep(M, 40);
}

// The report after its header for the pack above; `unit` is " mAh" or "0 mWh".
std::string Body(const std::string& unit, const std::string& mode_hex, const std::string& mode_flags) {
  std::string s;
  s += std::string(Y) + " Design Capacity:            " + W + "4400" + unit + "\n";
  s += std::string(C) + " Full Charge Capacity:...... " + Y + "4000" + unit + "\n";
  s += std::string(M) + " Cycle Count:                " + G + "37\n";
  s += std::string(C) + " Manufacture Date:..... " + Y + "4a21 " + C + "2017.01.01\n";
  s += std::string(Y) + " Design Voltage:             " + W + "14400 mV\n";
  s += std::string(R) + " Manufacturer Name:......... " + R + "SDI\n";
  s += std::string(G) + " Device Name:                " + G + "bq8030\n";
  s += std::string(M) + " Serial Number:............. 0A1B Hex\n";
  s += std::string(Y) + " Charging Voltage:           " + Y + "16800 mV\n";
  s += std::string(W) + " Charging Current:.......... " + W + "2000 mA\n";
  s += std::string(C) + " Device Chemistry:           " + R + "LION\n";
  s += std::string(M) + " Temperature:............... 25.05 C\n";
  s += std::string(Y) + " Voltage:                    " + Y + "14806 mV\n";
  s += std::string(W) + " Current:................... " + W + "-1000 mA\n";
  s += std::string(C) + " RelativeSOC                 85 %\n";
  s += std::string(G) + " AbsoluteSOC................ 80 %\n";
  s += std::string(Y) + " Remaining Capacity:         " + M + "3740" + unit + "\n";
  s += std::string(W) + " Word 38  " + C + "VCELL 4:........... " + W + "3703 mV\n";
  s += std::string(W) + " Word 39  " + C + "VCELL 3:            " + W + "3702 mV\n";
  s += std::string(W) + " Word 3A  " + C + "VCELL 2:........... " + W + "3701 mV\n";
  s += std::string(W) + " Word 3B  " + C + "VCELL 1:            " + W + "3700 mV\n";
  s += Sep(M, 38);
  s += std::string(G) + " Specification Info:........ " + Y + "0031 Hex\n";
  s += Sep(M, 38);
  s += std::string(C) + " Max Error:                  " + W + "1 %\n";
  s += Sep(M, 38);
  s += std::string(C) + " BatteryStatus (0x16):...... " + Y + "00C0 Hex\n";
  s += std::string(R) + " INIT DSG\n";
  s += std::string(G) + " OK\n";
  s += Sep(M, 38);
  s += std::string(C) + " BatteryMode (0x03):........ " + Y + mode_hex + " Hex\n";
  s += std::string(R) + mode_flags + "\n";
  s += Sep(M, 38);
  s += std::string(Y) + " Manufacturer Access (0x00): " + W + "C206 Hex\n";
  s += std::string(G) + " Charging Current control\n";
  s += std::string(C) + " Cell-Volt diff (Max-Min) => 300mV Full-CHG\n";
  s += std::string(W) + " FCC => 40% PRE-FCC Correction\n";
  s += std::string(Y) + " Normal\n";
  s += std::string(G) + " Fully CHG\n";
  s += std::string(R) + " No CHG\n";
  s += std::string(Y) + " DSG FET ON\n";
  s += std::string(Y) + " CHG FET ON\n";
  s += Sep(M, 38);
  s += std::string(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y + "-9 %      \n";
  s += std::string(M) + Dashes(39) + "\n\n" + R;
  return s;
}

std::string BodyTrace(int battery_mode) {
  return "rw 03 -> " + std::to_string(battery_mode) +
         "\nsleep 0\n"
         "rw 18 -> 4400\nsleep 0\n"
         "rw 10 -> 4000\n"
         "rw 17 -> 37\n"
         "rw 1b -> 18977\n"
         "rw 19 -> 14400\n"
         "rb 20 -> 3 53 44 49\nsleep 0\n"
         "rb 21 -> 6 62 71 38 30 33 30\nsleep 0\n"
         "rw 1c -> 2587\n"
         "rw 15 -> 16800\n"
         "rw 14 -> 2000\n"
         "rb 22 -> 4 4c 49 4f 4e\n"
         "rw 08 -> 2982\n"
         "rw 09 -> 14806\n"
         "rw 0a -> 64536\n"
         "rw 0d -> 85\n"
         "rw 0e -> 80\n"
         "rw 0f -> 3740\n"
         "rw 09 -> 14806\nrw 3b -> 3700\nrw 3a -> 3701\nrw 39 -> 3702\nrw 38 -> 3703\n"
         "rw 1a -> 49\n"
         "rw 0c -> 1\nsleep 0\n"
         "rw 16 -> 192\nsleep 1\n"
         "rw 03 -> " +
         std::to_string(battery_mode) +
         "\nsleep 0\n"
         "rw 00 -> 49670\nsleep 1\n"
         "rw 18 -> 4400\n"
         "rw 10 -> 4000\n";
}

TEST(Bq9000Report, NormalModeFullReportByteForByte) {
  Rig t(Pack("0", "\"0x6001\""));
  reports::bq9000(t.p());
  EXPECT_EQ(t.Output(), Header(std::string(C) + " RW 0x72 = 0000\n", "     DEVICE starting in ", "Normal-mode") +
                            Body(" mAh", "6001", " ChgM AM ICC"));
  EXPECT_EQ(t.TraceText(), "rw 72 -> 0\nsleep 5\n" + BodyTrace(0x6001));
  EXPECT_EQ(t.p().BootRom, 0);
}

// Rows 2, 3, 5, 9, 10, 13, 14 and 20 write the label and set the value colour
// before the read; the other rows read first; ManufacturerAccess is labelled
// before its read.
TEST(Bq9000Report, LabelFirstRowsShowTheLabelBeforeTheRead) {
  Rig t(Pack("0", "\"0x6001\""));
  reports::bq9000(t.p());
  const std::string merged = t.Merged();
  ExpectContainsEach(merged, {
      S(C) + " Full Charge Capacity:...... " + Y + "{rw 10 -> 4000}4000 mAh\n",
      S(M) + " Cycle Count:                " + G + "{rw 17 -> 37}37\n",
      S(Y) + " Design Voltage:             " + W + "{rw 19 -> 14400}14400 mV\n",
      S(Y) + " Charging Voltage:           " + Y + "{rw 15 -> 16800}16800 mV\n",
      S(W) + " Charging Current:.......... " + W + "{rw 14 -> 2000}2000 mA\n",
      S(Y) + " Voltage:                    " + Y + "{rw 09 -> 14806}14806 mV\n",
      S(W) + " Current:................... " + W + "{rw 0a -> 64536}-1000 mA\n",
      S(G) + " Specification Info:........ " + Y + "{rw 1a -> 49}0031 Hex\n",
      S(Y) + " Manufacturer Access (0x00): {rw 00 -> 49670}{sleep 1}" + W + "C206 Hex\n",
  });
  ExpectContainsEach(merged, {
      "{rw 18 -> 4400}{sleep 0}" + S(Y) + " Design Capacity:            ",
      "{rw 1b -> 18977}" + S(C) + " Manufacture Date:..... ",
      "{rb 20 -> 3 53 44 49}{sleep 0}" + S(R) + " Manufacturer Name:......... ",
      "{rw 1c -> 2587}" + S(M) + " Serial Number:",
      "{rw 0c -> 1}{sleep 0}" + S(C) + " Max Error:                  ",
      "{rw 16 -> 192}{sleep 1}" + S(C) + " BatteryStatus (0x16):...... ",
      "{rw 03 -> 24577}{sleep 0}" + S(C) + " BatteryMode (0x03):........ ",
  });
}

TEST(Bq9000Report, UnknownModeRunsTheFullReportInTenMilliwattHours) {
  Rig t(Pack("5", "\"0x8000\""));
  reports::bq9000(t.p());
  EXPECT_EQ(t.Output(), Header("", "    DEVICE starting in ", "UNCKNOWN-mode") + Body("0 mWh", "8000", " CapM"));
  EXPECT_EQ(t.TraceText(), "rw 72 -> 5\nsleep 5\n" + BodyTrace(0x8000));
  EXPECT_EQ(t.p().BootRom, 4);
}

TEST(Bq9000Report, BootRomAndCalibrationModesEndAfterTheModeLine) {
  struct Case {
    const char* words;
    std::string detection;
    const char* prefix;
    const char* mode;
    int boot_rom;
    const char* trace;
  };
  const Case cases[] = {
      {R"("0x0D": "0x9002")", std::string(C) + " BootRom = 9002\n", "     DEVICE starting in ", "BOOT-ROM mod", 1,
       "rw 72 -> -9\nsleep 5\nrw 0d -> 36866\nsleep 5\n"},
      {R"("0x0D": "0x0502")", std::string(C) + " BootRom = 0502\n", "     DEVICE starting in ", "BOOT-ROM mod", 2,
       "rw 72 -> -9\nsleep 5\nrw 0d -> 1282\nsleep 5\n"},
      {R"("0x72": "0x1111", "0x0D": 50)", std::string(C) + " RW 0x72 = 1111\n", "   DEVICE starting in ",
       "Calibration-mode", 3, "rw 72 -> 4369\nsleep 5\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Rig t(std::string(R"({"words": {)") + c.words + R"(, "0x03": "0x8000", "0x18": 4400}})");
    reports::bq9000(t.p());
    // Nothing more is read, and the colour stays magenta after the separator.
    EXPECT_EQ(t.Output(), Header(c.detection, c.prefix, c.mode));
    EXPECT_EQ(t.TraceText(), c.trace);
    EXPECT_EQ(t.p().BootRom, c.boot_rom);
  }
}

TEST(Bq9000Report, ModeDetectionTable) {
  struct Row {
    std::string words;  // entries for words 0x72 and 0x0D; a missing one answers -9
    int boot_rom;
    std::string detection;
    std::string trace;
    bool full_report;
  };
  const Row rows[] = {
      {R"("0x72": 0)", 0, " RW 0x72 = 0000\n", "rw 72 -> 0\nsleep 5\n", true},
      {R"("0x72": "0x1111")", 3, " RW 0x72 = 1111\n", "rw 72 -> 4369\nsleep 5\n", false},
      {R"("0x0D": 85)", 0, " RW 0x0D = 0055\n", "rw 72 -> -9\nsleep 5\nrw 0d -> 85\nsleep 5\n", true},
      {R"("0x0D": 100)", 0, " RW 0x0D = 0064\n", "rw 72 -> -9\nsleep 5\nrw 0d -> 100\nsleep 5\n", true},
      {R"("0x0D": -5)", 0, " RW 0x0D = FFFFFFFB\n", "rw 72 -> -9\nsleep 5\nrw 0d -> -5\nsleep 5\n", true},
      {R"("0x00": 1)", 0, " RW 0x0D = FFFFFFF7\n", "rw 72 -> -9\nsleep 5\nrw 0d -> -9\nsleep 5\n", true},
      {R"("0x0D": "0x0502")", 2, " BootRom = 0502\n", "rw 72 -> -9\nsleep 5\nrw 0d -> 1282\nsleep 5\n", false},
      {R"("0x0D": "0x0504")", 2, " BootRom = 0504\n", "rw 72 -> -9\nsleep 5\nrw 0d -> 1284\nsleep 5\n", false},
      {R"("0x0D": "0x0301")", 2, " BootRom = 0301\n", "rw 72 -> -9\nsleep 5\nrw 0d -> 769\nsleep 5\n", false},
      {R"("0x0D": "0x9002")", 1, " BootRom = 9002\n", "rw 72 -> -9\nsleep 5\nrw 0d -> 36866\nsleep 5\n", false},
      {R"("0x0D": 101)", 4, "", "rw 72 -> -9\nsleep 5\nrw 0d -> 101\nsleep 5\n", true},
      {R"("0x0D": "0x0503")", 4, "", "rw 72 -> -9\nsleep 5\nrw 0d -> 1283\nsleep 5\n", true},
      {R"("0x72": 5, "0x0D": "0x9002")", 4, "", "rw 72 -> 5\nsleep 5\n", true},
      {R"("0x72": -5, "0x0D": 50)", 4, "", "rw 72 -> -5\nsleep 5\n", true},
  };
  const char* prefix[] = {"     DEVICE starting in ", "     DEVICE starting in ", "     DEVICE starting in ",
                          "   DEVICE starting in ", "    DEVICE starting in "};
  const char* mode[] = {"Normal-mode", "BOOT-ROM mod", "BOOT-ROM mod", "Calibration-mode", "UNCKNOWN-mode"};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.words);
    Rig t("{\"words\": {" + row.words + "}}");
    reports::bq9000(t.p());
    EXPECT_EQ(t.p().BootRom, row.boot_rom);
    const std::string header = Header(row.detection.empty() ? "" : C + row.detection, prefix[row.boot_rom],
                                      mode[row.boot_rom]);
    const std::string out = t.Output();
    const std::string trace = t.TraceText();
    EXPECT_EQ(out.substr(0, header.size()), header);
    EXPECT_EQ(trace.substr(0, row.trace.size()), row.trace);
    if (row.full_report) {
      EXPECT_EQ(trace.substr(row.trace.size(), 16), "rw 03 -> -9\nslee");
      EXPECT_NE(out.find(" Delta-Capacity "), std::string::npos);
    } else {
      EXPECT_EQ(out, header);
      EXPECT_EQ(trace, row.trace);
    }
  }
}

TEST(Bq9000Report, DesignCapacityZeroStillReachesTheClosingSeparator) {
  std::string pack = Pack("0", "\"0x6001\"");
  pack.replace(pack.find("\"0x18\": 4400"), 12, "\"0x18\": 0");  // a key given twice is an error
  Rig t(pack);
  reports::bq9000(t.p());
  const std::string out = t.Output();
  const std::string delta = std::string(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y;
  const std::size_t at = out.find(delta);
  ASSERT_NE(at, std::string::npos);
  const std::string tail = std::string(M) + Dashes(39) + "\n\n" + R;
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  // Neither a sign nor a percentage made up from a division by zero.
  const std::string line = out.substr(at + delta.size(), out.size() - tail.size() - at - delta.size());
  EXPECT_EQ(line.find('%'), std::string::npos) << line;
  EXPECT_EQ(line.back(), '\n');
}

TEST(Bq9000Report, DeltaCapacityGainAndFailedBlockReads) {
  // Full charge above design: plus sign. Name blocks that fail write no characters.
  Rig t(R"({"words": {"0x72": 0, "0x03": 0, "0x18": 4000, "0x10": 4400}, "blocks": {"0x21": -5}})");
  reports::bq9000(t.p());
  const std::string out = t.Output();
  EXPECT_NE(out.find(std::string(R) + " Manufacturer Name:......... " + R + "\n" + G +
                     " Device Name:                " + G + "\n"),
            std::string::npos);
  EXPECT_NE(out.find(std::string(Y) + "+10 %      \n"), std::string::npos);
  // Failed word reads print their codes through each line's format.
  EXPECT_NE(out.find(std::string(M) + " Serial Number:............. FFFFFFF7 Hex\n"), std::string::npos);
  EXPECT_NE(out.find(std::string(W) + " Current:................... " + W + "-9 mA\n"), std::string::npos);
}

std::string StatusHead(const std::string& status_hex) {
  return std::string(C) + " BatteryStatus (0x16):...... " + Y + status_hex + " Hex\n";
}
std::string ModeHead(const std::string& mode_hex) {
  return std::string(C) + " BatteryMode (0x03):........ " + Y + mode_hex + " Hex\n";
}
std::string AccessHead(const std::string& hex) {
  return std::string(Y) + " Manufacturer Access (0x00): " + W + hex + " Hex\n";
}

TEST(Bq9000Status, InitDsgOkAndManufacturerAccessAllClear) {
  Rig t(R"({"words": {"0x16": "0x00C0", "0x03": "0x6001", "0x00": "0x0000"}})");
  reports::bq9000_family::StatusSection(t.p());
  EXPECT_EQ(t.Output(), StatusHead("00C0") + R + " INIT DSG\n" + G + " OK\n" + Sep(M, 38) + ModeHead("6001") + R +
                            " ChgM AM ICC\n" + Sep(M, 38) + AccessHead("0000") + G + " Normal\n" + C +
                            " Cell-Volt diff (Max-Min) < 300mV Full-CHG\n" + W + " FCC => 40% PRE-FCC Correction\n" +
                            Y + " Normal\n" + G + " Normal\n" + R + " No CHG\n" + R + " DSG FET OFF\n" + R +
                            " CHG FET OFF\n" + Sep(M, 38));
  EXPECT_EQ(t.TraceText(), "rw 16 -> 192\nsleep 1\nrw 03 -> 24577\nsleep 0\nrw 00 -> 0\nsleep 1\n");
  EXPECT_EQ(t.p().status, 0x6001);
  EXPECT_EQ(t.p().tempWord, 0);
}

TEST(Bq9000Status, EmptyFlagAndErrorLinesAndChargingState) {
  Rig t(R"({"words": {"0x16": "0x0002", "0x03": "0x0000", "0x00": "0xC206"}})");
  reports::bq9000_family::StatusSection(t.p());
  EXPECT_EQ(t.Output(), StatusHead("0002") + R + "\n" + "\n" + Sep(M, 38) + ModeHead("0000") + R + "\n" +
                            Sep(M, 38) + AccessHead("C206") + G + " Charging Current control\n" + C +
                            " Cell-Volt diff (Max-Min) => 300mV Full-CHG\n" + W + " FCC => 40% PRE-FCC Correction\n" +
                            Y + " Normal\n" + G + " Fully CHG\n" + R + " No CHG\n" + Y + " DSG FET ON\n" + Y +
                            " CHG FET ON\n" + Sep(M, 38));
}

TEST(Bq9000Status, FailedStatusReadShowsEveryFlagAndUnknownError) {
  // BatteryStatus missing (-9); ManufacturerAccess with bits 8-11 = 1 and bit 3 set.
  Rig t(R"({"words": {"0x03": "0xE383", "0x00": "0x0108"}})");
  reports::bq9000_family::StatusSection(t.p());
  EXPECT_EQ(t.Output(), StatusHead("FFFFFFF7") + R + " OCA TCA OTA TDA RCA RTA INIT DSG FC FD\n" + R +
                            " Unknown Error\n" + Sep(M, 38) + ModeHead("E383") + R +
                            " CapM ChgM AM PB CC CF PBS ICC\n" + Sep(M, 38) + AccessHead("0108") + G + " Normal\n" +
                            C + " Cell-Volt diff (Max-Min) < 300mV Full-CHG\n" + R +
                            " FCC < 40% PRE-FCC Correction\n" + Y + " Normal\n" + "\n" + R + " No CHG\n" + R +
                            " DSG FET OFF\n" + R + " CHG FET OFF\n" + Sep(M, 38));
}

TEST(Bq9000Status, FieldValuesWithAndWithoutText) {
  // BUSY; error state 6 and charge control 3 have no text; a system failure; pre-charge.
  Rig t(R"({"words": {"0x16": "0x0001", "0x03": 0, "0x00": "0x1F67"}})");
  reports::bq9000_family::StatusSection(t.p());
  EXPECT_EQ(t.Output(), StatusHead("0001") + R + "\n" + Y + " BUSY\n" + Sep(M, 38) + ModeHead("0000") + R + "\n" +
                            Sep(M, 38) + AccessHead("1F67") + "\n" + C +
                            " Cell-Volt diff (Max-Min) => 300mV Full-CHG\n" + W + " FCC => 40% PRE-FCC Correction\n" +
                            "\n" + R + " SYSTEM fail(Err_CHKsumm,MEM,AFE,WhachDog,Slp)\n" + G + " Pre CHG\n" + R +
                            " DSG FET OFF\n" + R + " CHG FET OFF\n" + Sep(M, 38));
}

}  // namespace
