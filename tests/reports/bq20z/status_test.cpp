// bq20z status words: flag names of every table, the no-flags text, the FET
// line in both seal states, and the version words.

#include <gtest/gtest.h>

#include <string>

#include "reports/bq20z/internal.h"
#include "tests/support/fixture.h"
#include "tests/support/harness.h"

namespace {

using namespace testing_support;
using namespace reports::bq20z_family;

std::string Words(const std::string& entries) { return R"({"words": {)" + entries + "}}"; }
std::string Access(const std::string& entries) { return R"({"manufacturer_access": {)" + entries + "}}"; }

TEST(Bq20zStatus, BatteryStatusNamesFromBothBytesWithLabelBeforeTheRead) {
  Rig t(Words(R"("0x16": "0xFFFF")"));
  PrintStatusWords(t.p(), OnlyRow(kStatusWords, 0x16));
  EXPECT_EQ(t.Output(), S(W) + " Battery Status (0x16):..... " + Y + "FFFF Hex\n" + R +
                            " OCA TCA OTA TDA RCA RTA INIT DSG FC FD EC3 EC2 EC1 EC0\n" + M + Dashes(39) + "\n");
  EXPECT_EQ(t.TraceText(), "rw 16 -> 65535\nsleep 1\n");
  EXPECT_EQ(t.p().tempWord, 0xFFFF);

  Rig mixed(Words(R"("0x16": "0x10C5")"));
  PrintStatusWords(mixed.p(), OnlyRow(kStatusWords, 0x16));
  EXPECT_EQ(mixed.Output(), S(W) + " Battery Status (0x16):..... " + Y + "10C5 Hex\n" + R + " OTA INIT DSG EC2 EC0\n" +
                                M + Dashes(39) + "\n");
}

TEST(Bq20zStatus, BatteryModeNames) {
  Rig t(Words(R"("0x03": "0xFFFF")"));
  PrintStatusWords(t.p(), OnlyRow(kStatusWords, 0x03));
  EXPECT_EQ(t.Output(), S(C) + " BatteryMode (0x03):........ " + Y + "FFFF Hex\n" + R +
                            " CapM ChgM AM PB CC CF PBS ICC\n" + M + Dashes(38) + "\n");
  EXPECT_EQ(t.TraceText(), "rw 03 -> 65535\nsleep 1\n");

  Rig mixed(Words(R"("0x03": "0x8182")"));
  PrintStatusWords(mixed.p(), OnlyRow(kStatusWords, 0x03));
  EXPECT_EQ(mixed.Output(), S(C) + " BatteryMode (0x03):........ " + Y + "8182 Hex\n" + R + " CapM CC CF PBS\n" + M +
                                Dashes(38) + "\n");
}

TEST(Bq20zStatus, OperationStatusNamesAndNoSeparatorOfItsOwn) {
  Rig t(Access(R"("0x0054": "0xFFFF")"));
  PrintStatusWords(t.p(), OnlyRow(kStatusWords, 0x0054));
  EXPECT_EQ(t.Output(), S(Y) + " Operation Status (0x54):... " + W + "FFFF Hex\n" + R +
                            " PRES FAS SS CSV LDMD WAKE DSG XDSG XDSGI DSGIN R_DIS VOK QEN\n");
  EXPECT_EQ(t.TraceText(), "ww 00 0054\nsleep 1\nrw 00 -> 65535\nsleep 1\n");

  Rig dsg(Access(R"("0x0054": "0x0040")"));
  PrintStatusWords(dsg.p(), OnlyRow(kStatusWords, 0x0054));
  EXPECT_EQ(dsg.Output(), S(Y) + " Operation Status (0x54):... " + W + "0040 Hex\n" + R + " DSG\n");
}

std::string SafetyLine(const std::string& value, const std::string& names, bool no_flags) {
  return S(W) + " Safety Status (0x51):...... " + Y + value + " Hex\n" + R + names + G +
         (no_flags ? " No Flags                    OK" : "") + "\n" + M + Dashes(37) + "\n";
}
std::string PfLine(const std::string& value, const std::string& names, bool no_flags) {
  return S(W) + " PF Status (0x53):.......... " + Y + value + " Hex\n" + R + names + G +
         (no_flags ? " No Flags                    OK" : "") + "\n" + M + Dashes(37) + "\n";
}
std::string ChargingLine(const std::string& value, const std::string& names) {
  return S(Y) + " Charging Status (0x55):.... " + W + value + " Hex\n" + R + names + "\n" + M + Dashes(37) + "\n";
}

TEST(Bq20zStatus, SafetyPfAndChargingWithEveryBitSet) {
  Rig t(Access(R"("0x0051": "0xFFFF", "0x0053": "0xFFFF", "0x0055": "0xFFFF")"));
  PrintProtectionRegisters(t.p());
  EXPECT_EQ(t.Output(),
            SafetyLine("ffff", " OTD OTC OCD OCC OCD2 OCC2 PUV POV CUV COV PF HWDG WDF AOCD SCC SCD", false) +
                PfLine("ffff", " FBF SUV SOPT SOCD SOCC AFE_P AFE_C DFF DFETF CFETF CIM_R SOTD SOTC SOV PFIN",
                       false) +
                ChargingLine("ffff", " XCHG CHGSUSP PCHG MCHG TCHG1 TCHG2 FCHG PULSE PLSOFF CB PCMTO FCMTO OCHGV "
                                     "OCHGI OC XCHGLV"));
  // Written, then read at once; one sleep after each read.
  EXPECT_EQ(t.TraceText(),
            "ww 00 0051\nrw 00 -> 65535\nsleep 1\n"
            "ww 00 0053\nrw 00 -> 65535\nsleep 1\n"
            "ww 00 0055\nrw 00 -> 65535\nsleep 1\n");
}

TEST(Bq20zStatus, NoFlagsTextOnlyForSafetyAndPfAtZero) {
  Rig zero(Access(R"("0x0051": 0, "0x0053": 0, "0x0055": 0)"));
  PrintProtectionRegisters(zero.p());
  EXPECT_EQ(zero.Output(), SafetyLine("0000", "", true) + PfLine("0000", "", true) + ChargingLine("0000", ""));

  // Bit 14 of PF Status has no name: an empty line, and no no-flags text.
  Rig pf(Access(R"("0x0051": "0x8001", "0x0053": "0x4000", "0x0055": "0x4201")"));
  PrintProtectionRegisters(pf.p());
  EXPECT_EQ(pf.Output(), SafetyLine("8001", " OTD SCD", false) + PfLine("4000", "", false) +
                             ChargingLine("4201", " CHGSUSP FCHG XCHGLV"));
}

TEST(Bq20zStatus, AnErrorCodeIsPrintedInEightDigitsAndDecodedByItsLowBits) {
  // Nothing in the profile: every read answers -9 (0xFFFFFFF7).
  Rig t("{}");
  PrintProtectionRegisters(t.p());
  EXPECT_EQ(t.Output(),
            SafetyLine("fffffff7", " OTD OTC OCD OCC OCD2 OCC2 PUV POV CUV COV PF HWDG AOCD SCC SCD", false) +
                PfLine("fffffff7", " FBF SUV SOPT SOCD SOCC AFE_P AFE_C DFF DFETF CFETF CIM_R SOTC SOV PFIN", false) +
                ChargingLine("fffffff7", " XCHG CHGSUSP PCHG MCHG TCHG1 TCHG2 FCHG PULSE PLSOFF CB PCMTO FCMTO "
                                         "OCHGI OC XCHGLV"));
}

std::string SealedFet(const std::string& value, const std::string& chg, const std::string& dhg) {
  auto on_off = [](const std::string& state) { return state == "ON" ? S(W) + "ON" : S(R) + "OFF"; };
  return S(W) + " FET-Control (0x0006):...... " + Y + value + " Hex\n" + G + " FET =" + Y + " CHG-" + on_off(chg) + Y +
         " DHG-" + on_off(dhg) + "\n" + M + Dashes(38) + "\n";
}

TEST(Bq20zStatus, SealedFetLineTakesTheStateFromBits15And14) {
  struct Case {
    const char* answer;
    std::string value;
    const char* chg;
    const char* dhg;
  };
  const Case cases[] = {
      {"0x0000", "0000", "ON", "ON"},
      {"0x4000", "4000", "OFF", "ON"},
      {"0x8000", "8000", "OFF", "OFF"},
      {"0xC000", "c000", "ON", "OFF"},
      {"0x3FFF", "3fff", "ON", "ON"},  // lower bits play no part
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Rig t(Access(std::string(R"("0x0006": ")") + c.answer + "\""));
    t.p().StUnsealDevice = 0;
    PrintFetControl(t.p());
    EXPECT_EQ(t.Output(), SealedFet(c.value, c.chg, c.dhg));
    EXPECT_EQ(t.TraceText(), "ww 00 0006\nsleep 1\nrw 00 -> " + std::to_string(std::stoi(c.answer, nullptr, 16)) +
                                 "\nsleep 1\n");
  }
}

TEST(Bq20zStatus, UnsealedFetLineShowsBits3To1OfWord46) {
  struct Case {
    int mode;
    const char* answer;
    std::string value;
    std::string fields;
  };
  const std::string on = S(W) + "ON";
  const std::string off = S(R) + "OFF";
  const Case cases[] = {
      {1, "0x06", "06", S(Y) + " Pre-CHG=" + off + Y + " CHG=" + on + Y + " DHG=" + on},
      {1, "0x08", "08", S(Y) + " Pre-CHG=" + on + Y + " CHG=" + off + Y + " DHG=" + off},
      {2, "0xF1", "f1", S(Y) + " Pre-CHG=" + off + Y + " CHG=" + off + Y + " DHG=" + off},
      {2, "0x0E", "0e", S(Y) + " Pre-CHG=" + on + Y + " CHG=" + on + Y + " DHG=" + on},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Rig t(Words(std::string(R"("0x46": ")") + c.answer + "\""));
    t.p().StUnsealDevice = c.mode;
    PrintFetControl(t.p());
    EXPECT_EQ(t.Output(), S(C) + " FET-Control (0x46):........ " + Y + c.value + " Hex\n" + G + " FET =" + c.fields +
                              "\n" + M + Dashes(38) + "\n");
    EXPECT_EQ(t.TraceText(), "rw 46 -> " + std::to_string(std::stoi(c.answer, nullptr, 16)) + "\n");
  }
}

TEST(Bq20zStatus, VersionWordsEachThroughManufacturerAccess) {
  Rig t(Access(R"("0x0001": "0x0650", "0x0002": "0x0151", "0x0003": "0x00A5")"));
  PrintVersionWords(t.p());
  EXPECT_EQ(t.Output(), S(Y) + " Device Type:     (0x0001):. " + W + "0650 Hex\n" + M +
                            " Firmware Version:(0x0002):. " + Y + "0151 Hex\n" + C + " Hardware Version:(0x0003):. " +
                            W + "00a5 Hex\n" + W + " Chemisry ID:(0x0008):...... " + Y + "fffffff7 Hex\n" + M +
                            Dashes(37) + "\n");
  EXPECT_EQ(t.TraceText(),
            "ww 00 0001\nsleep 1\nrw 00 -> 1616\nsleep 1\n"
            "ww 00 0002\nsleep 1\nrw 00 -> 337\nsleep 1\n"
            "ww 00 0003\nsleep 1\nrw 00 -> 165\nsleep 1\n"
            "ww 00 0008\nsleep 1\nrw 00 -> -9\nsleep 1\n");
}

}  // namespace
