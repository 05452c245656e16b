// The eight status register decodes: value line, byte order and line rules.

#include <gtest/gtest.h>

#include "reports/bq40z/internal.h"
#include "tests/reports/bq40z/expected.h"
#include "tests/support/fixture.h"

namespace {

using namespace testing_support;
using namespace bq40z_expected;
using namespace reports::bq40z_family;

std::string WordProfile(int command, const std::string& value) {
  char key[8];
  std::snprintf(key, sizeof key, "0x%02X", command);
  return std::string(R"({"words": {")") + key + R"(": )" + value + "}}";
}

std::string DataProfile(const char* subcommand, const std::string& data) {
  return std::string(R"({"manufacturer_data": {")") + subcommand + R"(": ")" + data + R"("}})";
}

// Runs the decode of one block register of `table` on a reply of `data` bytes.
std::string Decode(std::span<const reports::RegisterLine> table, const char* subcommand, const std::string& data,
                   std::string* trace = nullptr) {
  Rig rig(DataProfile(subcommand, data));
  ReportBuffer receive = {};
  PrintGaugeRegisters(rig.p(), receive, OnlyRow(table, std::stoi(subcommand, nullptr, 16)));
  if (trace != nullptr) *trace = rig.TraceText();
  return rig.Output();
}

TEST(Bq40zStatus, BatteryStatusWordRule) {
  struct Case {
    const char* word;
    std::string out;
  };
  const Case cases[] = {
      {"\"0x00C0\"", std::string("00C0 Hex\n") + R + " INIT DSG" + "\n"},
      // No bit set: still an (empty) line.
      {"0", std::string("0000 Hex\n") + R + "\n"},
      {"\"0xFFFF\"", std::string("FFFF Hex\n") + R + " OCA TCA OTA TDA RCA RTA INIT DSG FC FD EC3 EC2 EC1 EC0\n"},
      // Unnamed bits 13 and 10 alone.
      {"\"0x2400\"", std::string("2400 Hex\n") + R + "\n"},
  };
  for (const Case& c : cases) {
    Rig rig(WordProfile(0x16, c.word));
    PrintGaugeRegisters(rig.p(), {}, OnlyRow(kStatusWords, 0x16));
    EXPECT_EQ(rig.Output(), std::string(C) + " BatteryStatus (0x16):...... " + Y + c.out + Sep(M, 39)) << c.word;
    EXPECT_EQ(rig.p().tempWord, rig.p().bus.SMBReadWord(core::BatteryAddress, 0x16));
  }
}

TEST(Bq40zStatus, BatteryModeReadsWithASleepAndDecodesErrorCodes) {
  Rig rig(WordProfile(0x03, "\"0xFFFF\""));
  PrintGaugeRegisters(rig.p(), {}, OnlyRow(kStatusWords, 0x03));
  EXPECT_EQ(rig.Output(), std::string(C) + " BatteryMode (0x03):........ " + Y + "FFFF Hex\n" + R +
                              " CapM ChgM AM PB CC CF PBS ICC\n" + Sep(M, 39));
  EXPECT_EQ(rig.TraceText(), "rw 03 -> 65535\nsleep 0\n");

  // A failed read: the whole code in hex, its low 16 bits (0xFFF7) as flags.
  Rig failed("{}");
  PrintGaugeRegisters(failed.p(), {}, OnlyRow(kStatusWords, 0x03));
  EXPECT_EQ(failed.Output(), std::string(C) + " BatteryMode (0x03):........ " + Y + "FFFFFFF7 Hex\n" + R +
                                 " CapM ChgM AM PB CC CF PBS ICC\n" + Sep(M, 39));
}

TEST(Bq40zStatus, OperationStatusTwoHalvesAndTrailingBlanks) {
  const std::string label = std::string(C) + " OperationStatus (0x54):.. " + Y;
  std::string trace;
  // Byte-0 names keep their trailing blanks; no separator after this register.
  EXPECT_EQ(Decode(kStatusWords, "0x0054", "07 01 00 00", &trace),
            label + "00000107 Hex\n" + R + " SEC0 CHG  DSG  PRES " + "\n");
  EXPECT_EQ(trace, MbrTrace(0x0054, " 07 01 00 00"));
  // Only the unnamed bit 30: an empty upper line and no lower line.
  EXPECT_EQ(Decode(kStatusWords, "0x0054", "00 00 00 40"),
            label + "40000000 Hex\n" + R + "\n");
  EXPECT_EQ(Decode(kStatusWords, "0x0054", "FF FF FF FF"),
            label + "FFFFFFFF Hex\n" + R + " EMshut CB SLPCC SLPAD SMBLCL INIT SleepM XL CALofs CAL ACALM AUTH LED SDM" +
                "\n" + " Sleep XCHG XDSG PF SS SDV SEC1 SEC0 BTPint  RSVD  FUSE  RSVD  PCHG  CHG  DSG  PRES " + "\n");
  EXPECT_EQ(Decode(kStatusWords, "0x0054", "00 00 00 00"), label + "00000000 Hex\n" + R);
}

TEST(Bq40zStatus, GaugingStatusSplitRule) {
  const std::string label = std::string(C) + " GaugingStatus (0x0056):.... " + Y;
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0056", "01 00 01"),
            label + "010001 Hex\n" + R + " VDQ" + "\n" + " FD" + "\n" + Sep(M, 39));
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0056", "FF FF FF"),
            label + "FFFFFF Hex\n" + R + " OCVFR LDMD RX QMAX VDQ\n" +
                " NSFM SlpQmax QEN VOK R_DIS REST CF DSG EDV BAL-En TC TD FC FD\n" + Sep(M, 39));
  // Unnamed bit 14 only: an empty lower line.
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0056", "00 40 00"), label + "004000 Hex\n" + R + "\n" + Sep(M, 39));
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0056", "00 00 00"), label + "000000 Hex\n" + R + Sep(M, 39));
}

TEST(Bq40zStatus, ManufacturingStatusOneLine) {
  const std::string label = std::string(C) + " ManufacturingStatus (0x0057): " + Y;
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0057", "00 80"),
            label + "8000 Hex\n" + R + " CAL" + "\n" + Sep(M, 39));
  // " LTtst " keeps its trailing blank.
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0057", "FF FF"),
            label + "FFFF Hex\n" + R + " CAL LTtst  LED FUSE BBR PF LF FET GAUGE DSG CHG PCHG\n" + Sep(M, 39));
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0057", "00 00"), label + "0000 Hex\n" + R + Sep(M, 39));
}

TEST(Bq40zStatus, SafetyAndPFStatusWithTheNoFlagsLine) {
  const std::string safety = std::string(C) + " SafetyStatus (0x51):..... " + Y;
  const std::string pf = std::string(C) + " PFStatus (0x53):......... " + Y;
  const std::string no_flags = std::string(W) + " No Flags                    OK" + "\n";
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0051", "00 00 00 00"),
            safety + "00000000 Hex\n" + R + no_flags + Sep(M, 39));
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0051", "FF FF FF FF"),
            safety + "FFFFFFFF Hex\n" + R + " OCDL COVL UTD UTC PCHGC CHGV CHGC OC CTO PTO OTF\n" +
                " CUVC OTD OTC ASCDL ASCD ASCCL ASCC AOLDL AOLD OCD2 OCD1 OCC2 OCC1 COV CUV\n" + W + Sep(M, 39));
  // Byte order: bytes 3, 2, 1, 0.
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0051", "02 00 00 00"),
            safety + "00000002 Hex\n" + R + " COV\n" + W + Sep(M, 39));
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0053", "00 00 00 00"), pf + "00000000 Hex\n" + R + no_flags + Sep(M, 39));
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0053", "00 00 01 00"),
            pf + "00010000 Hex\n" + R + " CFETF" + "\n" + W + Sep(M, 39));
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0053", "FF FF FF FF"),
            pf + "FFFFFFFF Hex\n" + R + " TS4 TS3 TS2 TS1 DFW OPNC IFC PTC 2LVL AFEC AFER FUSE DFETF CFETF\n" +
                " VIMA VIMR SOTF SOT SOCD SOCC SOV SUV\n" + W + Sep(M, 39));
}

TEST(Bq40zStatus, ChargingStatusOneLine) {
  const std::string label = std::string(C) + " ChargingStatus (0x55):..... " + Y;
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0055", "00 00 01"),
            label + "010000 Hex\n" + R + " CCR" + "\n" + Sep(M, 39));
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0055", "00 01 01"),
            label + "010100 Hex\n" + R + " CCR PV" + "\n" + Sep(M, 39));
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0055", "FF FF FF"),
            label + "FFFFFF Hex\n" + R + " NCT CCC CVR CCR VCT MCHG SU IN HV MV LV PV OT HT STH RT STL LT UT\n" +
                Sep(M, 39));
  EXPECT_EQ(Decode(kGaugeStatusRegisters, "0x0055", "00 00 00"), label + "000000 Hex\n" + R + Sep(M, 39));
}

TEST(Bq40zStatus, AFailedReadShowsThePreviousRegistersBytes) {
  Rig rig(R"({"manufacturer_data": {"0x0054": "07 01 10 00", "0x0056": -5}})");
  ReportBuffer receive = {};
  PrintGaugeRegisters(rig.p(), receive, OnlyRow(kStatusWords, 0x0054));
  PrintGaugeRegisters(rig.p(), receive, OnlyRow(kGaugeStatusRegisters, 0x0056));
  EXPECT_EQ(rig.p().status, -5);
  const std::string out = rig.Output();
  EXPECT_NE(out.find(std::string(" GaugingStatus (0x0056):.... ") + Y + "100107 Hex\n" + R + " OCVFR\n" +
                     " REST TD FC FD\n"),
            std::string::npos);
  EXPECT_EQ(rig.TraceText(), MbrTrace(0x0054, " 07 01 10 00") + "wb 44 56 00\nsleep 5\nrb 44 -> -5\nsleep 5\n");
}

}  // namespace
