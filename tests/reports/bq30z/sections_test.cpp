// Sections of the bq30z report one at a time: the seal check, the Update
// Status layouts, Qmax and R_a, each status register's header and flag lines,
// and the identification words.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "reports/bq30z/internal.h"
#include "tests/reports/bq30z/expected.h"
#include "tests/support/fixture.h"

namespace {

using namespace testing_support;
using namespace bq30z_expected;
using namespace reports::bq30z_family;
using nlohmann::json;

const std::string kSep = Sep(M, 38);

json Data(const std::string& subcommand, const json& answer) {
  return {{"manufacturer_data", {{subcommand, answer}}}};
}

// ---- Seal check ----

TEST(Bq30zSealCheck, ModeFromByteOneOfOperationStatus) {
  struct Case {
    const char* byte1;
    int before;
    std::string line;
    int after;
  };
  const Case cases[] = {
      {"03", 1, std::string(R) + " Device........................ SEALED\n", 0},
      {"06", 0, std::string(G) + " Device...................... UNSEALED\n", 1},
      {"01", 0, std::string(G) + " Device......... UNSEALED & FullAccess\n", 2},
      {"04", 2, "", 2},  // reserved: nothing written, state kept
      {"04", 0, "", 0},
  };
  for (const Case& c : cases) {
    const std::string reply = std::string("00 ") + c.byte1 + " 00 00";
    Rig t(Data("0x0054", reply).dump());
    t.p().StUnsealDevice = c.before;
    PrintSealUnsealDevicez30(t.p());
    EXPECT_EQ(t.Output(), kSep + c.line + kSep) << c.byte1;
    EXPECT_EQ(t.TraceText(), DataRead(0x0054, reply) + "sleep 0\n") << c.byte1;
    EXPECT_EQ(t.p().StUnsealDevice, c.after) << c.byte1;
  }
}

// ---- Unsealed-only section ----

const char* kQmaxReply = "00 00 00 00 00 00 00 00 00 00 30 11 3A 11 26 11 35 11";  // 4400 4410 4390 4405
const char* kRa = "00 55 00 4B";

std::string Row(int r, int byte, int value) {
  std::string bytes;
  for (int i = 0; i < 32; ++i) {
    int b = (i == byte) ? value : r;
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", b);
    bytes += (i ? " " : "") + std::string(hex);
  }
  return bytes;
}

// Writes the Qmax copies (high byte first) into a row text at `offset`.
std::string WithCopies(std::string row, int offset, const int (&copies)[4]) {
  for (int k = 0; k < 4; ++k) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X %02X", copies[k] >> 8, copies[k] & 0xFF);
    row.replace(static_cast<std::size_t>(3 * (offset + 2 * k)), 5, hex);
  }
  return row;
}

json UnsealedProfile(const std::string& row16, const std::string& row1c) {
  json p;
  p["manufacturer_data"]["0x0073"] = kQmaxReply;
  p["data_flash"]["0x0116"] = row16;
  p["data_flash"]["0x011C"] = row1c;
  p["data_flash"]["0x011D"] = Row(0x1D, 0, 0x21);
  p["data_flash"]["0x011A"] = Row(0x1A, 1, 0x42);
  for (const char* ra : {"0x0128", "0x012A", "0x012C", "0x012E"}) p["data_flash"][ra] = kRa;
  return p;
}

std::string UpdateLine(const char* hex, const char* dec) {
  return std::string(W) + " Update Status: ............ " + G + hex + "   " + Y + dec + "\n";
}

std::string RaTrace() {
  return RowRead(0x28, kRa, 10) + RowRead(0x2A, kRa, 10) + RowRead(0x2C, kRa, 10) + RowRead(0x2E, kRa, 10);
}

TEST(Bq30zUpdateStatus, FoundInRow16WhenItsCopiesMatch) {
  // Q0 = 4400 kept at bytes 3 and 4 as 0x11 0x30; the other copies differ.
  const std::string row16 = WithCopies(Row(0x16, 15, 0x0E), 3, {4400, 1, 2, 3});
  const std::string row1c = WithCopies(Row(0x1C, 0, 0), 20, {4400, 4410, 4390, 4405});
  Rig t(UnsealedProfile(row16, row1c).dump());
  PrintUnsealedData(t.p());
  EXPECT_EQ(t.Output().substr(0, UpdateLine("0e", "14").size()), UpdateLine("0e", "14"));
  EXPECT_EQ(t.TraceText(), DataRead(0x0073, kQmaxReply) + "sleep 5\n" + RowRead(0x16, row16, 5) + RaTrace());
}

TEST(Bq30zUpdateStatus, FoundThroughRow1CTakesRow1DByteZero) {
  const std::string row16 = WithCopies(Row(0x16, 15, 0x0E), 3, {4401, 4411, 4391, 4406});
  const std::string row1c = WithCopies(Row(0x1C, 0, 0), 20, {0, 4410, 0, 0});
  Rig t(UnsealedProfile(row16, row1c).dump());
  PrintUnsealedData(t.p());
  EXPECT_EQ(t.Output().substr(0, UpdateLine("21", "33").size()), UpdateLine("21", "33"));
  EXPECT_EQ(t.TraceText(), DataRead(0x0073, kQmaxReply) + "sleep 5\n" + RowRead(0x16, row16, 5) +
                               RowRead(0x1C, row1c, 5) + RowRead(0x1D, Row(0x1D, 0, 0x21), 5) + RaTrace());
}

TEST(Bq30zUpdateStatus, NoMatchTakesRow1AByteOne) {
  const std::string row16 = WithCopies(Row(0x16, 15, 0x0E), 3, {4401, 4411, 4391, 4406});
  // The right values at the wrong cells do not count.
  const std::string row1c = WithCopies(Row(0x1C, 0, 0), 20, {4410, 4400, 4405, 4390});
  Rig t(UnsealedProfile(row16, row1c).dump());
  PrintUnsealedData(t.p());
  EXPECT_EQ(t.Output().substr(0, UpdateLine("42", "66").size()), UpdateLine("42", "66"));
  EXPECT_EQ(t.TraceText(), DataRead(0x0073, kQmaxReply) + "sleep 5\n" + RowRead(0x16, row16, 5) +
                               RowRead(0x1C, row1c, 5) + RowRead(0x1A, Row(0x1A, 1, 0x42), 5) + RaTrace());
}

TEST(Bq30zUpdateStatus, TheFourthQmaxAloneIsAMatch) {
  const std::string row16 = WithCopies(Row(0x16, 15, 0xA5), 3, {0, 0, 0, 4405});
  Rig t(UnsealedProfile(row16, Row(0x1C, 0, 0)).dump());
  PrintUnsealedData(t.p());
  EXPECT_EQ(t.Output().substr(0, UpdateLine("a5", "165").size()), UpdateLine("a5", "165"));
  EXPECT_EQ(t.TraceText().find("ww 00 011c"), std::string::npos);
}

TEST(Bq30zQmaxAndRa, LinesPackMinimumAndRaFlags) {
  const std::string row16 = WithCopies(Row(0x16, 15, 0x0E), 3, {4400, 4410, 4390, 4405});
  json profile = UnsealedProfile(row16, Row(0x1C, 0, 0));
  profile["data_flash"]["0x0128"] = "00 55 01 02";
  profile["data_flash"]["0x012A"] = "12 34";
  profile["data_flash"]["0x012C"] = "FF 55";
  profile["data_flash"]["0x012E"] = "0A 0B 0C";
  Rig t(profile.dump());
  PrintUnsealedData(t.p());
  std::string expected = UpdateLine("0e", "14");
  expected += std::string(G) + " Qmax Cell-0:                " + C + "1130 " + W + "4400 mah\n";
  expected += std::string(G) + " Qmax Cell-1: .............. " + C + "113a " + W + "4410 mah\n";
  expected += std::string(G) + " Qmax Cell-2:                " + C + "1126 " + W + "4390 mah\n";
  expected += std::string(G) + " Qmax Cell-3: .............. " + C + "1135 " + W + "4405 mah\n";
  expected += std::string(W) + " Qmax Pack:                  " + C + "1126 " + M + "4390 mah\n" + kSep;
  expected += std::string(C) + " Cell-" + Y + "0" + G + " R_a flag:            " + Y + "0055 HEX\n";
  expected += std::string(C) + " Cell-" + Y + "1" + G + " R_a flag:            " + Y + "1234 HEX\n";
  expected += std::string(C) + " Cell-" + Y + "2" + G + " R_a flag:            " + Y + "FF55 HEX\n";
  expected += std::string(C) + " Cell-" + Y + "3" + G + " R_a flag:            " + Y + "0A0B HEX\n" + kSep;
  EXPECT_EQ(t.Output(), expected);
  EXPECT_NE(t.TraceText().find(RowRead(0x28, "00 55 01 02", 10) + RowRead(0x2A, "12 34", 10) +
                               RowRead(0x2C, "FF 55", 10) + RowRead(0x2E, "0A 0B 0C", 10)),
            std::string::npos);
}

TEST(Bq30zQmaxAndRa, PackIsTheSmallestWhereverItIsAndSmallValuesArePadded) {
  struct Case {
    const char* reply_tail;  // bytes 10 to 17
    std::string pack;
  };
  const Case cases[] = {
      {"30 11 3A 11 35 11 26 11", std::string(C) + "1126 " + M + "4390 mah\n"},  // last cell
      {"26 11 3A 11 35 11 30 11", std::string(C) + "1126 " + M + "4390 mah\n"},  // first cell
      {"30 11 3A 11 2A 00 30 11", std::string(C) + "002a " + M + "0042 mah\n"},
  };
  for (const Case& c : cases) {
    json profile = UnsealedProfile(Row(0x16, 0, 0), Row(0x1C, 0, 0));
    profile["manufacturer_data"]["0x0073"] = std::string("00 00 00 00 00 00 00 00 00 00 ") + c.reply_tail;
    Rig t(profile.dump());
    PrintUnsealedData(t.p());
    EXPECT_NE(t.Output().find(std::string(W) + " Qmax Pack:                  " + c.pack), std::string::npos)
        << c.reply_tail;
  }
}

// ---- Status registers ----

struct RegisterCase {
  std::span<const reports::RegisterLine> table;  // the register's row is looked up by its subcommand
  const char* subcommand;
  json reply;
  std::string expected;
};

void RunRegisterCases(const std::vector<RegisterCase>& cases) {
  for (const RegisterCase& c : cases) {
    Rig t(Data(c.subcommand, c.reply).dump());
    PrintGaugeRegisters(t.p(), OnlyRow(c.table, std::stoi(c.subcommand, nullptr, 16)));
    EXPECT_EQ(t.Output(), c.expected) << c.subcommand << " " << c.reply.dump();
    EXPECT_EQ(t.TraceText().substr(0, 11), std::string("ww 00 ") + (c.subcommand + 2) + "\n")
        << c.subcommand << " " << c.reply.dump();
  }
}

TEST(Bq30zStatusRegisters, BatteryStatusAlwaysEndsItsFlagLine) {
  const std::string label = std::string(C) + " Battery Status (0x16):...... " + Y;
  struct Case {
    json word;
    int held;  // what tempWord keeps
    std::string expected;
  };
  const Case cases[] = {
      {0, 0, label + "0000 Hex\n" + R + "\n"},
      {"0x00C0", 0x00C0, label + "00C0 Hex\n" + R + " INIT DSG\n"},
      {"0x2400", 0x2400, label + "2400 Hex\n" + R + "\n"},  // bits without a name
      {"0xDB3F", 0xDB3F, label + "DB3F Hex\n" + R + " OCA TCA OTA TDA RCA RTA FC FD EC3 EC2 EC1 EC0\n"},
      // An error code: eight digits, flags from its low 16 bits (0xFFF7).
      {-9, -9, label + "FFFFFFF7 Hex\n" + R + " OCA TCA OTA TDA RCA RTA INIT DSG FC FD EC2 EC1 EC0\n"},
  };
  for (const Case& c : cases) {
    json profile;
    profile["words"]["0x16"] = c.word;
    Rig t(profile.dump());
    PrintGaugeRegisters(t.p(), kBatteryStatus);
    EXPECT_EQ(t.Output(), c.expected) << c.word.dump();
    EXPECT_EQ(t.p().tempWord, c.held) << c.word.dump();
  }
}

TEST(Bq30zStatusRegisters, OperationStatusTwoHalvesUpperFirst) {
  const std::string label = std::string(C) + " Operation Status (0x54): " + Y;
  RunRegisterCases({
      {kOperationStatus, "0x0054", "00 01 00 00", label + "00000100 Hex\n" + R + " SEC0\n"},
      {kOperationStatus, "0x0054", "00 00 00 20", label + "20000000 Hex\n" + R + " FetOf\n"},
      {kOperationStatus, "0x0054", "00 00 00 00", label + "00000000 Hex\n" + R},
      {kOperationStatus, "0x0054", "00 00 00 C0", label + "C0000000 Hex\n" + R + "\n"},
      {kOperationStatus, "0x0054", "FF FF FF FF",
       label + "FFFFFFFF Hex\n" + R +
           " FetOf XLSBS SLPC SLPQM SMBLCL INIT SleepM SDV CALO FVS AWD AUTH SHIPm SDM\n"
           " Sleep XCHG XDSG PF SS CAL SEC1 SEC0 LED CB FUSE GPOD PCHG CHG DSG PRES\n"},
  });
}

TEST(Bq30zStatusRegisters, GaugingStatusSingleLineAlwaysEnded) {
  const std::string label = std::string(C) + " Gauging Status (0x0056):.... " + Y;
  RunRegisterCases({
      {kGaugeStatusRegisters, "0x0056", "00 00", label + "0000 Hex\n" + R + "\n"},
      {kGaugeStatusRegisters, "0x0056", "FF FF",
       label + "FFFF Hex\n" + R + " LFP_RLX TCA TDA OCVFR LDMD RX QMAX VDQ NSFM FC FD QEN VOK RU DSG REST\n"},
      {kGaugeStatusRegisters, "0x0056", "01 80 FF FF", label + "8001 Hex\n" + R + " LFP_RLX REST\n"},
  });
}

TEST(Bq30zStatusRegisters, ManufacturingStatusLineOnlyWhenSet) {
  const std::string label = std::string(C) + " Manufacturing Status(0x0057):" + Y;
  RunRegisterCases({
      {kGaugeStatusRegisters, "0x0057", "00 80", label + "8000 Hex\n" + R + " CAL\n"},
      {kGaugeStatusRegisters, "0x0057", "00 00", label + "0000 Hex\n" + R},
      {kGaugeStatusRegisters, "0x0057", "00 7C", label + "7C00 Hex\n" + R + "\n"},
      {kGaugeStatusRegisters, "0x0057", "FF 03",
       label + "03FF Hex\n" + R + " LED FUSE BBR PF LF FET GAUGE DSG CHG PCHG\n"},
  });
}

TEST(Bq30zStatusRegisters, SafetyStatusTwoHalvesAndNoFlags) {
  const std::string label = std::string(C) + " Safety Status (0x51):... " + Y;
  const std::string ok = std::string(W) + " No Flags                    OK\n";
  RunRegisterCases({
      {kGaugeStatusRegisters, "0x0051", "00 00 00 00", label + "00000000 Hex\n" + R + ok},
      {kGaugeStatusRegisters, "0x0051", "01 00 01 00", label + "00010001 Hex\n" + R + " OTF\n CUV\n"},
      {kGaugeStatusRegisters, "0x0051", "00 00 00 F0", label + "F0000000 Hex\n" + R + " RSVD RSVD RSVD RSVD\n"},
      {kGaugeStatusRegisters, "0x0051", "FF FF FF FF",
       label + "FFFFFFFF Hex\n" + R +
           " RSVD RSVD RSVD RSVD UTD UTC PCHGC CHGV CHGC OC RSVD CTO RSVD PTO HWDF OTF\n"
           " RSVD RSVD OTD OTC ASCDL ASCD ASCCL ASCC AOLDL AOLD OCD2 OCD1 OCC2 OCC1 COV CUV\n"},
  });
}

TEST(Bq30zStatusRegisters, PfStatusLowerHalfFirst) {
  const std::string label = std::string(C) + " PF Status (0x53):....... " + Y;
  const std::string ok = std::string(W) + " No Flags                    OK\n";
  RunRegisterCases({
      {kGaugeStatusRegisters, "0x0053", "01 00 00 00", label + "00010000 Hex\n" + R + " SUV\n"},
      {kGaugeStatusRegisters, "0x0053", "00 00 00 80", label + "00008000 Hex\n" + R + " TS4\n"},
      {kGaugeStatusRegisters, "0x0053", "01 00 00 80", label + "00018000 Hex\n" + R + " SUV\n TS4\n"},
      {kGaugeStatusRegisters, "0x0053", "00 00 00 00", label + "00000000 Hex\n" + R + ok},
      {kGaugeStatusRegisters, "0x0053", "34 12 78 56", label + "12345678 Hex\n" + R + " VIMA RSVD RSVD SOT SOCC\n TS3 TS1 DFW OPNC 2LVL AFEC AFER FUSE\n"},
      {kGaugeStatusRegisters, "0x0053", "FF FF FF FF",
       label + "FFFFFFFF Hex\n" + R +
           " RSVD RSVD RSVD VIMA VIMR RSVD RSVD RSVD RSVD SOTF RSVD SOT SOCD SOCC SOV SUV\n"
           " TS4 TS3 TS2 TS1 RSVD DFW OPNC IFC PTC 2LVL AFEC AFER FUSE RSVD DFETF CFETF\n"},
  });
}

TEST(Bq30zStatusRegisters, ChargingStatusThreeBytesAlwaysEnded) {
  const std::string label = std::string(C) + " Charging Status (0x55):... " + Y;
  RunRegisterCases({
      {kGaugeStatusRegisters, "0x0055", "00 00 05", label + "050000 Hex\n" + R + " MCHG VCT\n"},
      {kGaugeStatusRegisters, "0x0055", "00 00 00 FF", label + "000000 Hex\n" + R + "\n"},
      {kGaugeStatusRegisters, "0x0055", "00 00 FA 00", label + "FA0000 Hex\n" + R + "\n"},
      {kGaugeStatusRegisters, "0x0055", "FF FF FF FF",
       label + "FFFFFF Hex\n" + R + " MCHG VCT CCC CVR CCR SU IN HV MV LV PV OT HT STH RT STL LT UT\n"},
  });
}

TEST(Bq30zStatusRegisters, EachRegisterClosedByItsSeparatorInOrder) {
  json profile;
  profile["manufacturer_data"]["0x0056"] = "00 00";
  profile["manufacturer_data"]["0x0057"] = "00 80";
  profile["manufacturer_data"]["0x0051"] = "00 00 00 00";
  profile["manufacturer_data"]["0x0053"] = "00 00 00 00";
  profile["manufacturer_data"]["0x0055"] = "00 00 05";
  Rig t(profile.dump());
  PrintGaugeStatusRegisters(t.p());
  const std::string ok = std::string(W) + " No Flags                    OK\n";
  EXPECT_EQ(t.Output(), std::string(C) + " Gauging Status (0x0056):.... " + Y + "0000 Hex\n" + R + "\n" + kSep + C +
                            " Manufacturing Status(0x0057):" + Y + "8000 Hex\n" + R + " CAL\n" + kSep + C +
                            " Safety Status (0x51):... " + Y + "00000000 Hex\n" + R + ok + kSep + C +
                            " PF Status (0x53):....... " + Y + "00000000 Hex\n" + R + ok + kSep + C +
                            " Charging Status (0x55):... " + Y + "050000 Hex\n" + R + " MCHG VCT\n" + kSep);
  EXPECT_EQ(t.TraceText(), DataRead(0x0056, "00 00") + DataRead(0x0057, "00 80") + DataRead(0x0051, "00 00 00 00") +
                               DataRead(0x0053, "00 00 00 00") + DataRead(0x0055, "00 00 05"));
}

TEST(Bq30zIdentification, WordsAndTheirByteOrder) {
  json profile;
  profile["manufacturer_data"]["0x0001"] = "34 12";
  profile["manufacturer_data"]["0x0002"] = "AA BB 01 02";
  profile["manufacturer_data"]["0x0003"] = "CD AB";
  profile["manufacturer_data"]["0x0006"] = -5;  // failed: the Hardware Version bytes stay
  Rig t(profile.dump());
  PrintGaugeRegisters(t.p(), kIdentification);
  EXPECT_EQ(t.Output(), std::string(Y) + " Device Type(0x0001) :....... " + R + "1234 Hex\n" + C +
                            " Firmware Version(0x0002) :.. " + W + "0102 Hex\n" + M +
                            " Hardware Version(0x0003) :.. " + R + "ABCD Hex\n" + W +
                            " Chemistry ID(0x0006) :...... " + Y + "ABCD Hex\n");
  EXPECT_EQ(t.TraceText(), DataRead(0x0001, "34 12") + DataRead(0x0002, "AA BB 01 02") + DataRead(0x0003, "CD AB") +
                               "ww 00 0006\nrb 23 -> -5\n");
}

}  // namespace
