// The real binary on the built-in bq9000-family profiles: choice "4" and the
// register scans.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "tests/support/fixture.h"
#include "tests/support/harness.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;

class Bq9000EndToEnd : public ::testing::Test {
 protected:
  RunResult Run(const std::string& profile, const std::string& input) {
    std::ofstream budget(dir_.path() / "CountSRCHadp.bin", std::ios::binary);
    budget.put(10);
    budget.put(0);
    budget.close();
    return RunBinary(dir_.path(), {{"CLICOLOR_FORCE", "1"}, {"SMBUS_ADAPTER", "sim:" + profile}}, input);
  }
  ScratchDirectory dir_;
};

// Adapter discovery and the presence probe as a choice runs them.
std::string Check() { return AttemptScreen() + SuccessScreen("1.2.3") + CLS; }
std::string Cycle(const std::string& soc_hex) { return Check() + MenuScreen(soc_hex); }

std::string CheckTrace(const std::string& word00, const std::string& word0d) {
  return "open 04b4 8613 -> 197121\nid -> 5067605\nrw 00 -> " + word00 + "\nsleep 1\nrw 0d -> " + word0d +
         "\nsleep 1\n";
}
std::string CycleTrace(const std::string& word00, const std::string& word0d) {
  return CheckTrace(word00, word0d) + "pec 1\nsleep 5\nrw 0d -> " + word0d + "\n";
}

TEST_F(Bq9000EndToEnd, ChoiceFourOnTheNormalModePack) {
  const RunResult r = Run("bq9000", "4");
  std::string report = CLS + C + " RW 0x72 = 0000\n" + C + " PEC = 1\n" + Sep(M, 40) + G +
                       "           Vantrel-bq9000\n\n" + W + "     DEVICE starting in " + Y + "Normal-mode\n" +
                       Sep(M, 40);
  report += std::string(Y) + " Design Capacity:            " + W + "4400 mAh\n";
  report += std::string(C) + " Full Charge Capacity:...... " + Y + "4120 mAh\n";
  report += std::string(M) + " Cycle Count:                " + G + "112\n";
  report += std::string(C) + " Manufacture Date:..... " + Y + "4c8f " + C + "2018.04.15\n";
  report += std::string(Y) + " Design Voltage:             " + W + "14400 mV\n";
  report += std::string(R) + " Manufacturer Name:......... " + R + "SANYO\n";
  report += std::string(G) + " Device Name:                " + G + "AS10D41\n";
  report += std::string(M) + " Serial Number:............. 0123 Hex\n";
  report += std::string(Y) + " Charging Voltage:           " + Y + "16800 mV\n";
  report += std::string(W) + " Charging Current:.......... " + W + "2400 mA\n";
  report += std::string(C) + " Device Chemistry:           " + R + "LION\n";
  report += std::string(M) + " Temperature:............... 25.05 C\n";
  report += std::string(Y) + " Voltage:                    " + Y + "16416 mV\n";
  report += std::string(W) + " Current:................... " + W + "-1200 mA\n";
  report += std::string(C) + " RelativeSOC                 76 %\n";
  report += std::string(G) + " AbsoluteSOC................ 71 %\n";
  report += std::string(Y) + " Remaining Capacity:         " + M + "3120 mAh\n";
  report += std::string(W) + " Word 3C  " + C + "VCELL 4:........... " + W + "4102 mV\n";
  report += std::string(W) + " Word 3D  " + C + "VCELL 3:            " + W + "4106 mV\n";
  report += std::string(W) + " Word 3E  " + C + "VCELL 2:........... " + W + "4105 mV\n";
  report += std::string(W) + " Word 3F  " + C + "VCELL 1:            " + W + "4103 mV\n";
  report += Sep(M, 38) + G + " Specification Info:........ " + Y + "0031 Hex\n" + Sep(M, 38);
  report += std::string(C) + " Max Error:                  " + W + "2 %\n" + Sep(M, 38);
  report += std::string(C) + " BatteryStatus (0x16):...... " + Y + "00C0 Hex\n" + R + " INIT DSG\n" + G + " OK\n" +
            Sep(M, 38);
  report += std::string(C) + " BatteryMode (0x03):........ " + Y + "6001 Hex\n" + R + " ChgM AM ICC\n" + Sep(M, 38);
  report += std::string(Y) + " Manufacturer Access (0x00): " + W + "C000 Hex\n" + G + " Normal\n" + C +
            " Cell-Volt diff (Max-Min) < 300mV Full-CHG\n" + W + " FCC => 40% PRE-FCC Correction\n" + Y +
            " Normal\n" + G + " Normal\n" + R + " No CHG\n" + Y + " DSG FET ON\n" + Y + " CHG FET ON\n" + Sep(M, 38);
  report += std::string(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y + "-6 %      \n";
  report += std::string(M) + Dashes(39) + "\n\n";
  EXPECT_EQ(r.out, StartupScreen(kProgramName) + Cycle("004C") + Check() + report + R + R + PauseText() + Cycle("004C") +
                       W + RESET);
  const std::string report_trace =
      "rw 72 -> 0\nsleep 5\n"
      "rw 03 -> 24577\nsleep 0\nrw 18 -> 4400\nsleep 0\n"
      "rw 10 -> 4120\nrw 17 -> 112\nrw 1b -> 19599\nrw 19 -> 14400\n"
      "rb 20 -> 5 53 41 4e 59 4f\nsleep 0\n"
      "rb 21 -> 7 41 53 31 30 44 34 31\nsleep 0\n"
      "rw 1c -> 291\nrw 15 -> 16800\nrw 14 -> 2400\n"
      "rb 22 -> 4 4c 49 4f 4e\n"
      "rw 08 -> 2982\nrw 09 -> 16416\nrw 0a -> 64336\nrw 0d -> 76\nrw 0e -> 71\nrw 0f -> 3120\n"
      "rw 09 -> 16416\nrw 3b -> -9\nrw 3a -> -9\nrw 39 -> -9\nrw 38 -> -9\n"
      "rw 09 -> 16416\nrw 3f -> 4103\nrw 3e -> 4105\nrw 3d -> 4106\nrw 3c -> 4102\n"
      "rw 1a -> 49\n"
      "rw 0c -> 2\nsleep 0\n"
      "rw 16 -> 192\nsleep 1\n"
      "rw 03 -> 24577\nsleep 0\n"
      "rw 00 -> 49152\nsleep 1\n"
      "rw 18 -> 4400\nrw 10 -> 4120\n";
  EXPECT_EQ(r.trace, CycleTrace("49152", "76") + CheckTrace("49152", "76") + report_trace +
                         CycleTrace("49152", "76") + "close\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
}

TEST_F(Bq9000EndToEnd, ReadWordScanFromF0) {
  const RunResult r = Run("bq9000", "Z\nF0\n");
  std::string screen = CLS + C + " PEC = 1\n" + Sep(M, 49) + G + "                Vantrel_FM3DXY\n" + W +
                       "     Test " + Y + "READ-WORD " + W + "from 0x00 to 0xFF registr\n" + Sep(M, 49) + C +
                       " RW 72 = 0000\n" + Sep(W, 49) + R + "          DEVICE starting in " + Y + "Normal-mode\n" +
                       Sep(W, 49) + M + "        Enter First Registr to read in HEX\n\n" + Y +
                       "               Format in HEX : 23\n" + G + "            Enter your value : " + W + Sep(C, 49);
  screen += std::string(C) + " Read-WORD From " + W + "0xf0 = " + Y + "8030\n\n";
  screen += std::string(C) + " Read-WORD From " + W + "0xf2 = " + Y + "FFFFFFFF\n\n";
  screen += Sep(W, 49) + G + "  Test READ-WORD from 0xF0 to 0xFF registr Done!\n" + W + Dashes(49) + "\n\n";
  // The line end after "F0" is one more choice without an action.
  EXPECT_EQ(r.out, StartupScreen(kProgramName) + Cycle("004C") + Check() + screen + R + PauseText() + Cycle("004C") +
                       Cycle("004C") + W + RESET);
  std::string scan_trace = "rw 72 -> 0\nsleep 1\n";
  for (int reg = 0xF0; reg <= 0xFF; ++reg) {
    char line[32];
    std::snprintf(line, sizeof line, "rw %02x -> %s\nsleep 1\n", reg,
                  reg == 0xF0 ? "32816" : reg == 0xF2 ? "-1" : "-9");
    scan_trace += line;
  }
  EXPECT_EQ(r.trace, CycleTrace("49152", "76") + CheckTrace("49152", "76") + scan_trace +
                         CycleTrace("49152", "76") + CycleTrace("49152", "76") + "close\n");
}

TEST_F(Bq9000EndToEnd, BootRomAndCalibrationProfilesGiveTheShortReport) {
  const RunResult boot = Run("bq9000-bootrom", "4");
  EXPECT_NE(boot.out.find(std::string(C) + " BootRom = 9002\n"), std::string::npos);
  EXPECT_NE(boot.out.find(std::string(Y) + "BOOT-ROM mod\n" + M + Dashes(40) + "\n" + R + PauseText()),
            std::string::npos);
  EXPECT_EQ(boot.out.find(" Design Capacity"), std::string::npos);
  const RunResult calibration = Run("bq9000-calibration", "4");
  EXPECT_NE(calibration.out.find(std::string(C) + " RW 0x72 = 1111\n"), std::string::npos);
  EXPECT_NE(calibration.out.find(std::string(Y) + "Calibration-mode\n" + M + Dashes(40) + "\n" + R + PauseText()),
            std::string::npos);
}

TEST_F(Bq9000EndToEnd, BlockScansOnTheBootRomProfile) {
  // A long entry: only "c0" counts and the rest is not taken as menu choices.
  const RunResult r = Run("bq9000-bootrom", "xc0zzzzzzzzzzzzzzzz");
  EXPECT_NE(r.out.find(std::string(C) + " BootRom = 55\n" + C + " BootRom = 55\n" + W + Dashes(49) + "\n\n" + R +
                       "           DEVICE starting in " + Y + "BOOT-mode\n\n"),
            std::string::npos);
  EXPECT_NE(r.out.find(std::string(C) + " Read-BLOCK from " + R + "0xc0 : " + C + "3 byte\n" + G + " Block:" + W +
                       " 55 02 90\n" + C + " Read-BLOCK from " + R + "0xc1 : " + C + "4294967291 byte\n" + G +
                       " Block:" + W + "\n"),
            std::string::npos);
  EXPECT_NE(r.out.find(std::string(G) + "  Test READ-BLOCK from 0xC0 to 0xFF registr Done!\n"), std::string::npos);
  // The scan, its pause, then end of input: no cycle for the rest of the word.
  std::size_t menus = 0;
  for (std::size_t at = r.out.find("YOUR CHOICE"); at != std::string::npos; at = r.out.find("YOUR CHOICE", at + 1)) {
    ++menus;
  }
  EXPECT_EQ(menus, 2u);
  EXPECT_EQ(r.out.find("READ-WORD"), std::string::npos);
  EXPECT_EQ(r.exit_code, 0);
}

}  // namespace
