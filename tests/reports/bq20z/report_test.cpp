// The bq20z report as a whole: its sequence on the built-in profiles, the
// boot-ROM guard, the seal states and the value rules of its lines.

#include <gtest/gtest.h>

#ifndef _WIN32
#include "platform/posix/posix_console.h"
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "link/sim/sim_adapter.h"
#include "reports/bq20z/bq20z.h"
#include "tests/reports/bq20z/expected.h"
#include "tests/support/fixture.h"

namespace {

using namespace testing_support;
using nlohmann::json;

// Every run ends with the 39-dash separator and the colour set to red.
std::string Closing() { return S(M) + Dashes(39) + "\n" + R; }

TEST(Bq20zReport, SealedProfileByteForByteWithBusTrace) {
  Rig t(Profile("bq20z-sealed"));
  reports::bq20z(t.p());
  EXPECT_EQ(t.Output(), bq20z_expected::SealedScreen());
  EXPECT_EQ(t.TraceText(), bq20z_expected::SealedTrace());
  EXPECT_EQ(t.p().StUnsealDevice, 0);
  EXPECT_EQ(t.p().BootRom, 0);
}

TEST(Bq20zReport, UnsealedProfileByteForByteWithBusTrace) {
  Rig t(Profile("bq20z-unsealed"));
  reports::bq20z(t.p());
  EXPECT_EQ(t.Output(), bq20z_expected::UnsealedScreen());
  EXPECT_EQ(t.TraceText(), bq20z_expected::UnsealedTrace());
  EXPECT_EQ(t.p().StUnsealDevice, 1);
  // Key words are kept for the rest of the run, little-endian from the blocks.
  EXPECT_EQ(t.p().UnsealKEY1, 0x0414);
  EXPECT_EQ(t.p().UnsealKEY2, 0x3672);
  EXPECT_EQ(t.p().FASKEY1, 0xFFFF);
  EXPECT_EQ(t.p().FASKEY2, 0xFFFF);
}

// Every line is read (and its sleep taken) before it is written, but Battery
// Status, whose label comes first.
TEST(Bq20zReport, ReadsStandBeforeTheirLinesButBatteryStatusIsLabelledFirst) {
  Rig t(Profile("bq20z-sealed"));
  reports::bq20z(t.p());
  const std::string merged = t.Merged();
  ExpectContainsEach(merged, {
      S(W) + " Battery Status (0x16):..... {rw 16 -> 192}{sleep 1}" + Y + "00C0 Hex\n",
      "{rw 18 -> 4800}{sleep 1}" + S(Y) + " Design Capacity:            " + W + "4800 mAh\n",
      "{rb 20 -> 11 54 65 78 61 73 20 49 6e 73 74 2e}{sleep 2}" + S(R) + " Manufacturer Name:......... ",
      "{rw 0d -> 85}" + S(C) + " RelativeSOC",
      "{rw 03 -> 24577}{sleep 1}" + S(C) + " BatteryMode (0x03):........ ",
      "{ww 00 0054}{sleep 1}{rw 00 -> 57409}{sleep 1}" + S(Y) + " Operation Status (0x54):... ",
      "{ww 00 0051}{rw 00 -> 0}{sleep 1}" + S(W) + " Safety Status (0x51):...... ",
      "{ww 00 0001}{sleep 1}{rw 00 -> 1616}{sleep 1}" + S(Y) + " Device Type:     (0x0001):. ",
  });
}

TEST(Bq20zReport, FullAccessProfileShowsKeysAndGaugeMemory) {
  Rig t(Profile("bq20z-fullaccess"));
  reports::bq20z(t.p());
  const std::string out = t.Output();
  EXPECT_TRUE(Contains(out, S(G) + " Device.................. Full Access\n"));
  EXPECT_TRUE(Contains(out, " UnSeal: .... "));
  EXPECT_TRUE(Contains(out, " Qmax Pack:                  "));
  EXPECT_TRUE(Contains(out, S(Y) + " Pre-CHG=" + W + "ON" + Y + " CHG=" + W + "ON" + Y + " DHG=" + W + "ON\n"));
  EXPECT_EQ(t.p().StUnsealDevice, 2);
}

// ---- boot-ROM guard ----

std::string GuardScreen(const std::string& soc_hex) {
  return CLS + S(C) + " PEC = 1\n" + Y + " Read 0x0d:............... " + W + soc_hex + " Hex\n" + M + Dashes(39) +
         "\n" + G + "         Vantrel_bq20zXX\n" + W + "           READ Battery Info\n" + M + Dashes(39) + "\n" + R +
         "        Device in BOOT-rom mod.\n" + W + "   Please FIRST EXIT BOOT-rom mod !!!\n" + C + Dashes(39) + "\n";
}

TEST(Bq20zReport, BootRomGuardStopsOver100AndOnAnErrorCodeWithNoFurtherTraffic) {
  {
    Rig t(Profile("bq20z-sealed", {{"/words/0x0D", 101}}));
    reports::bq20z(t.p());
    EXPECT_EQ(t.Output(), GuardScreen("0065"));
    EXPECT_EQ(t.TraceText(), "rw 0d -> 101\n");
    EXPECT_EQ(t.p().BootRom, 1);
  }
  {
    Rig t(Profile("bq20z-sealed", {{"/words/0x0D", -5}}));
    reports::bq20z(t.p());
    EXPECT_EQ(t.Output(), GuardScreen("FFFFFFFB"));
    EXPECT_EQ(t.TraceText(), "rw 0d -> -5\n");
    EXPECT_EQ(t.p().BootRom, 1);
  }
}

TEST(Bq20zReport, StateOfCharge100RunsTheWholeReportAndClearsBootRom) {
  Rig t(Profile("bq20z-sealed", {{"/words/0x0D", 100}}));
  t.p().BootRom = 1;
  reports::bq20z(t.p());
  EXPECT_EQ(t.p().BootRom, 0);
  const std::string out = t.Output();
  EXPECT_TRUE(Contains(out, S(W) + "0064 Hex\n"));
  EXPECT_TRUE(Contains(out, S(C) + " RelativeSOC                 100 %\n"));
  EXPECT_TRUE(EndsWith(out, Closing()));
}

// ---- seal states ----

TEST(Bq20zReport, SealStatesDecideDeviceLineKeysGaugeMemoryAndFetForm) {
  struct Case {
    const char* op_status;
    std::string device_line;  // empty: none
    int mode;
  };
  const Case cases[] = {
      {"0x6000", S(R) + " Device....................... SEALED\n", 0},
      {"0x4000", S(G) + " Device..................... UNSEALED\n", 1},
      {"0x0000", S(G) + " Device.................. Full Access\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.op_status);
    Rig t(Profile("bq20z-unsealed", {{"/manufacturer_access/0x0054", c.op_status}}));
    reports::bq20z(t.p());
    const std::string out = t.Output();
    const std::string trace = t.TraceText();
    EXPECT_TRUE(Contains(out, S(M) + Dashes(38) + "\n" + c.device_line + M + Dashes(38) + "\n"));
    EXPECT_EQ(t.p().StUnsealDevice, c.mode);
    const bool open = c.mode != 0;
    EXPECT_EQ(Contains(trace, "rb 60"), open);
    EXPECT_EQ(Contains(trace, "ww 77"), open);
    EXPECT_EQ(Contains(out, " Update Status: ............ "), open);
    EXPECT_EQ(Contains(out, " FET-Control (0x46):........ "), open);
    EXPECT_EQ(Contains(out, " FET-Control (0x0006):...... "), !open);
    EXPECT_EQ(Contains(trace, "ww 00 0006\n"), !open);
    EXPECT_TRUE(EndsWith(out, Closing()));
  }
}

TEST(Bq20zReport, ReservedSealBitsWriteNoDeviceLineAndKeepTheLastMode) {
  // First run of the program: the mode is still sealed.
  {
    Rig t(Profile("bq20z-unsealed", {{"/manufacturer_access/0x0054", "0x2000"}}));
    reports::bq20z(t.p());
    const std::string out = t.Output();
    EXPECT_TRUE(Contains(out, S(M) + Dashes(38) + "\n" + M + Dashes(38) + "\n" + W + " Safety Status"));
    EXPECT_FALSE(Contains(out, " Device."));
    EXPECT_EQ(t.p().StUnsealDevice, 0);
    EXPECT_FALSE(Contains(t.TraceText(), "rb 60"));
    EXPECT_TRUE(Contains(out, " FET-Control (0x0006):...... "));
  }
  // After a run that found the gauge unsealed (Operation Status is read twice per run).
  {
    Rig t(Profile("bq20z-unsealed",
                          {{"/manufacturer_access/0x0054", json::array({"0x4000", "0x4000", "0x2000"})}}));
    reports::bq20z(t.p());
    ASSERT_EQ(t.p().StUnsealDevice, 1);
    const std::size_t first_run = t.Output().size();
    const std::size_t first_trace = t.TraceText().size();
    reports::bq20z(t.p());
    const std::string second = t.Output().substr(first_run);
    const std::string trace = t.TraceText().substr(first_trace);
    EXPECT_FALSE(Contains(second, " Device."));
    EXPECT_EQ(t.p().StUnsealDevice, 1);
    EXPECT_TRUE(Contains(second, S(Y) + " UnSeal: .... " + C + "Key-1 Key-2 .. " + Y + "0414 3672\n"));
    EXPECT_TRUE(Contains(trace, "rb 60 -> 4"));
    EXPECT_TRUE(Contains(second, " FET-Control (0x46):........ "));
    EXPECT_TRUE(Contains(second, " Qmax Pack:                  "));
  }
}

TEST(Bq20zReport, GaugeMemoryIsBigEndianAndPaddedToFourDigits) {
  Rig t(Profile("bq20z-unsealed", {{"/subclass/0x52", "10 68 03 E7 00 05 10 62 03 E7 00 00 07"}}));
  reports::bq20z(t.p());
  const std::string out = t.Output();
  EXPECT_TRUE(Contains(out, S(M) + " Update Status: ............ " + Y + "7\n"));
  EXPECT_TRUE(Contains(out, S(Y) + "Cell-0:                " + W + "4200 mah\n"));
  EXPECT_TRUE(Contains(out, S(Y) + "Cell-1: .............. " + W + "0999 mah\n"));
  EXPECT_TRUE(Contains(out, S(Y) + "Cell-2:                " + W + "0005 mah\n"));
  EXPECT_TRUE(Contains(out, S(W) + " Qmax Pack:                  " + Y + "0999 mah\n"));
}

// ---- value rules ----

TEST(Bq20zReport, ManufactureDateTemperatureAndCurrentRules) {
  struct Case {
    json edits;
    std::string line;
  };
  const Case cases[] = {
      {{{"/words/0x1B", "0x4A6F"}}, S(C) + " Manufacture Date:..... " + Y + "4a6f " + C + "2017.03.15\n"},
      {{{"/words/0x1B", 0}}, S(C) + " Manufacture Date:..... " + Y + "0000 " + C + "1980.00.00\n"},
      {{{"/words/0x08", 2982}}, S(M) + " Temperature:............... " + W + "25.05 C\n"},
      {{{"/words/0x08", 0}}, S(M) + " Temperature:............... " + W + "-273.15 C\n"},
      {{{"/words/0x0A", "0xFC18"}}, S(W) + " Current:................... " + W + "-1000 mA\n"},
      {{{"/words/0x0A", "0x8000"}}, S(W) + " Current:................... " + W + "-32768 mA\n"},
      {{{"/words/0x0A", "0xFFFE"}}, S(W) + " Current:................... " + W + "-2 mA\n"},
      // A failed read goes through the value's own format.
      {{{"/words/0x17", -9}}, S(R) + " Cycle Count:                " + W + "4294967287\n"},
      {{{"/words/0x1C", -9}}, S(M) + " Serial Number:............. " + M + "FFFFFFF7 Hex\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edits.dump());
    Rig t(Profile("bq20z-sealed", c.edits));
    reports::bq20z(t.p());
    EXPECT_TRUE(Contains(t.Output(), c.line));
  }
}

TEST(Bq20zReport, TenMilliwattHourModeAppliesToTheThreeCapacityLinesOnly) {
  Rig t(Profile("bq20z-sealed", {{"/words/0x03", "0x8000"}, {"/words/0x18", 440}, {"/words/0x10", 400},
                                         {"/words/0x0F", 374}}));
  reports::bq20z(t.p());
  const std::string out = t.Output();
  EXPECT_TRUE(Contains(out, S(Y) + " Design Capacity:            " + W + "4400 mWh\n"));
  EXPECT_TRUE(Contains(out, S(C) + " Full Charge Capacity:...... " + Y + "4000 mWh\n"));
  EXPECT_TRUE(Contains(out, S(Y) + " Remaining Capacity:         " + M + "3740 mWh\n"));
  EXPECT_TRUE(Contains(out, S(Y) + "8000 Hex\n" + R + " CapM\n"));
  // The raw numbers: (440 - 400) * 100 / 440 = 9.
  EXPECT_TRUE(Contains(out, S(Y) + "-9 %      \n"));
}

TEST(Bq20zReport, DeltaCapacitySignAndTruncatedPercentage) {
  struct Case {
    int design;
    int full;
    const char* value;
  };
  const Case cases[] = {{4000, 4400, "+10 %      \n"}, {4400, 4000, "-9 %      \n"}, {4000, 4000, "+0 %      \n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    Rig t(Profile("bq20z-sealed", {{"/words/0x18", c.design}, {"/words/0x10", c.full}}));
    reports::bq20z(t.p());
    EXPECT_TRUE(EndsWith(t.Output(), S(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y + c.value + Closing()));
  }
}

TEST(Bq20zReport, DesignCapacityZeroStillReachesTheClosingSeparator) {
  Rig t(Profile("bq20z-sealed", {{"/words/0x18", 0}}));
  reports::bq20z(t.p());
  const std::string out = t.Output();
  const std::size_t delta = out.rfind(S(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y);
  ASSERT_NE(delta, std::string::npos);
  EXPECT_TRUE(EndsWith(out, Closing()));
  // One line between the label and the separator.
  const std::string value = out.substr(delta, out.size() - delta - Closing().size());
  EXPECT_EQ(std::count(value.begin(), value.end(), '\n'), 1);
  EXPECT_TRUE(EndsWith(t.TraceText(), "rw 18 -> 0\nrw 10 -> 4400\n"));
}

// ---- texts from the battery ----

TEST(Bq20zReport, NameBlocksWriteTheirBytesAndAFailedReadAnEmptyName) {
  Rig t(Profile("bq20z-sealed", {{"/blocks/0x20", -9}, {"/blocks/0x21", "41 00 42"}}));
  reports::bq20z(t.p());
  const std::string out = t.Output();
  EXPECT_TRUE(Contains(out, S(R) + " Manufacturer Name:......... " + R + "\n"));
  EXPECT_TRUE(Contains(out, S(G) + " Device Name:                " + G + std::string("A\0B\n", 4)));
}

TEST(Bq20zReport, ChemistryBlocksOfAnyLengthStayInsideTheTextBuffer) {
  const std::string long_block = [] {
    std::string bytes;
    for (int i = 0; i < 255; ++i) bytes += (i == 0 ? "" : " ") + std::string("43");
    return bytes;
  }();
  Rig t(Profile("bq20z-sealed",
                        {{"/blocks/0x22", json::array({json{{"text", "LiFePO4"}}, json{{"text", "LION"}}, -9,
                                                       long_block, json{{"text", "NiMH"}}})}}));
  const std::string label = S(C) + " Device Chemistry:           " + R;
  std::size_t seen = 0;
  auto next_line = [&] {
    reports::bq20z(t.p());
    const std::string out = t.Output().substr(seen);
    seen = t.Output().size();
    const std::size_t at = out.find(label);
    EXPECT_NE(at, std::string::npos);
    const std::size_t begin = at + label.size();
    return out.substr(begin, out.find('\n', begin) - begin);
  };
  EXPECT_EQ(next_line(), "LiFePO4");
  EXPECT_EQ(next_line(), "LION");  // no leftover of the longer text
  EXPECT_EQ(next_line(), "");      // error code: nothing stored
  EXPECT_EQ(next_line(), "");  // longer than the 64-byte buffer: an error, nothing stored
  EXPECT_TRUE(std::all_of(std::begin(t.p().tempStr), std::end(t.p().tempStr), [](char c) { return c == 0; }));
  EXPECT_EQ(next_line(), "NiMH");
  EXPECT_TRUE(Contains(t.TraceText(), "rb 22 -> -13 (count 255, the reader takes 64)\n"));
}

#ifndef _WIN32
TEST(Bq20zReport, BatteryTextsReachATerminalWithoutControlBytes) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&data, &size);
  std::FILE* in = std::fopen("/dev/null", "r");
  platform::PosixConsoleSettings settings;
  settings.in = in;
  settings.out = out;
  settings.out_is_terminal = true;
  platform::PosixConsole console(settings);
  smb::sim::SimAdapter adapter(
      smb::sim::ParseProfile(Profile("bq20z-sealed", {{"/blocks/0x20", "1B 5B 32 4A 54 49"},
                                                      {"/blocks/0x21", "62 71 07 0D 7F 80 FF"},
                                                      {"/blocks/0x22", "4C 1B 5D 30 3B 07"}}),
                             "test"),
      false);
  smb::Trace no_trace;
  smb::SMBus bus(adapter, no_trace);
  core::Program p(console, bus);
  reports::bq20z(p);
  std::fflush(out);
  const std::string screen(data, size);
  std::fclose(out);
  std::fclose(in);
  std::free(data);
  EXPECT_TRUE(Contains(screen, " Manufacturer Name:......... .[2JTI\n"));
  EXPECT_TRUE(Contains(screen, " Device Name:                bq.....\n"));
  EXPECT_TRUE(Contains(screen, " Device Chemistry:           L.]0;.\n"));
}
#endif

}  // namespace
