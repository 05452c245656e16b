// The register test screens: boot check, hexadecimal entry and the scans.

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "regscan/regscan.h"
#include "tests/support/harness.h"

namespace {

using namespace testing_support;

std::string Line(const char* colour, int width) { return std::string(colour) + Dashes(width) + "\n"; }

std::string Hex(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Hex(const char* format, ...) {
  char text[64];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

TEST(HexEntry, FirstTwoCharactersDecideTheStart) {
  const std::string long_word(5000, 'c');
  struct Case {
    std::string input;
    int start;
  };
  const Case cases[] = {
      {"2F\n", 0x2F},       {"ff\n", 0xFF},          {"5\n", 0x50},        {"xyz\n", 0x00},
      {"1g\n", 0x10},       {"Ab\n", 0xAB},          {"  \n\t 3c\n", 0x3C}, {"\x80\xff\x01\n", 0x00},
      {"G7\n", 0x07},       {long_word + "\n", 0xCC}, {"", 0x00},           {"\n\n", 0x00},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input.substr(0, 20));
    TestProgram t("{}", c.input);
    EXPECT_EQ(regscan::Enter2digitHEX(t.p()), c.start);
    EXPECT_EQ(t.Output(), std::string(G) + "            Enter your value : " + W);
  }
}

TEST(HexEntry, TheRestOfALongWordIsNotLeftForTheMenu) {
  TestProgram t("{}", "0123456789abcdef\nZ");
  EXPECT_EQ(regscan::Enter2digitHEX(t.p()), 0x01);
  EXPECT_EQ(t.p().con.ReadChar(), '\n');
  EXPECT_EQ(t.p().con.ReadChar(), 'Z');
}

struct BootCase {
  const char* name;
  std::string profile;
  int boot_rom_before;
  int boot_rom_after;
  std::string lines;
  std::string trace;
};

TEST(CheckBoot, Patterns) {
  const BootCase cases[] = {
      {"normal", R"({"words": {"0x72": 0}})", 1, 0, std::string(C) + " RW 72 = 0000\n", "rw 72 -> 0\nsleep 1\n"},
      {"calibration", R"({"words": {"0x72": "0x1111"}})", 0, 2, std::string(C) + " RW 72 = 1111\n",
       "rw 72 -> 4369\nsleep 1\n"},
      {"boot mark", R"({"words": {"0x0D": 50}, "blocks": {"0xC0": "55 01"}})", 0, 1,
       std::string(C) + " BootRom = 55\n", "rw 72 -> -9\nsleep 1\nrb c0 -> 2 55 01\nsleep 20\nrw 0d -> 50\nsleep 1\n"},
      {"boot mark and version", R"({"words": {"0x0D": "0x9002"}, "blocks": {"0xC0": "55"}})", 0, 1,
       std::string(C) + " BootRom = 55\n" + C + " BootRom = 55\n",
       "rw 72 -> -9\nsleep 1\nrb c0 -> 1 55\nsleep 20\nrw 0d -> 36866\nsleep 1\n"},
      {"version only", R"({"words": {"0x0D": 101}})", 0, 1, std::string(C) + " BootRom = 00\n",
       "rw 72 -> -9\nsleep 1\nrb c0 -> -9\nsleep 20\nrw 0d -> 101\nsleep 1\n"},
      {"no reply but a percentage", R"({"words": {"0x0D": 100}, "blocks": {"0xC0": "54"}})", 1, 1, "",
       "rw 72 -> -9\nsleep 1\nrb c0 -> 1 54\nsleep 20\nrw 0d -> 100\nsleep 1\n"},
      {"other value keeps 0", R"({"words": {"0x72": "0x0042"}})", 0, 0, "", "rw 72 -> 66\nsleep 1\n"},
      {"other value keeps 1", R"({"words": {"0x72": "0x0042"}})", 1, 1, "", "rw 72 -> 66\nsleep 1\n"},
      {"other code keeps", R"({"words": {"0x72": -5, "0x0D": 200}})", 1, 1, "", "rw 72 -> -5\nsleep 1\n"},
  };
  for (const BootCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestProgram t(c.profile);
    t.p().BootRom = c.boot_rom_before;
    regscan::CheckBoot(t.p());
    EXPECT_EQ(t.p().BootRom, c.boot_rom_after);
    EXPECT_EQ(t.Output(), c.lines);
    EXPECT_EQ(t.TraceText(), c.trace);
  }
}

TEST(CheckBoot, AFailedMarkReadDoesNotTakeAnOldBufferForTheMark) {
  TestProgram t(R"({"words": {"0x0D": 50}})");
  t.p().BootRom = 0;
  t.p().buf[0] = 0x55;  // left over from an earlier block read
  regscan::CheckBoot(t.p());
  EXPECT_EQ(t.p().BootRom, 0);
  EXPECT_EQ(t.Output(), "");
}

// The screen up to the typed entry, for a member's title and mode block.
std::string Top(const std::string& title, const std::string& boot_lines, const std::string& mode_block) {
  return std::string(C) + " PEC = 1\n" + Line(M, 49) + G + "                Vantrel_FM3DXY\n" + title + "\n" +
         Line(M, 49) + boot_lines + mode_block + M + "        Enter First Registr to read in HEX\n\n" + Y +
         "               Format in HEX : 23\n" + G + "            Enter your value : " + W + Line(C, 49);
}

std::string ModeBlock(const char* prefix, const char* name, const char* gap) {
  return Line(W, 49) + gap + R + prefix + Y + name + "\n" + gap + Line(W, 49) + gap;
}

std::string Done(int width, const std::string& text) {
  return Line(W, width) + G + text + W + Dashes(width) + "\n\n";
}

TEST(RegisterScans, ReadWordLeavesOutUnansweredRegisters) {
  TestProgram t(R"({"words": {"0x72": 0, "0xF0": "0x8030", "0xF2": -5, "0xFF": "0x1234"}})", "F0\n");
  regscan::TestReadWord(t.p());
  const std::string title = std::string(W) + "     Test " + Y + "READ-WORD " + W + "from 0x00 to 0xFF registr";
  EXPECT_EQ(t.Output(),
            Top(title, std::string(C) + " RW 72 = 0000\n",
                ModeBlock("          DEVICE starting in ", "Normal-mode", "")) +
                C + " Read-WORD From " + W + "0xf0 = " + Y + "8030\n\n" + C + " Read-WORD From " + W + "0xf2 = " +
                Y + "FFFFFFFB\n\n" + C + " Read-WORD From " + W + "0xff = " + Y + "1234\n\n" +
                Done(49, "  Test READ-WORD from 0xF0 to 0xFF registr Done!\n"));
  std::string trace = "rw 72 -> 0\nsleep 1\n";
  for (int reg = 0xF0; reg <= 0xFF; ++reg) {
    const char* result = reg == 0xF0 ? "32816" : reg == 0xF2 ? "-5" : reg == 0xFF ? "4660" : "-9";
    trace += Hex("rw %02x -> ", reg) + result + "\nsleep 1\n";
  }
  EXPECT_EQ(t.TraceText(), trace);
}

TEST(RegisterScans, ReadWordAfterWritingTheRegisterNumber) {
  // No mode pattern: the menu's BootRom of 1 is kept and its mode block shown.
  TestProgram t(R"({"words": {"0x0D": 50}, "manufacturer_access": {"0x00FD": "0x0102", "0x00FE": -5}})", "fc");
  t.p().BootRom = 1;
  regscan::TestReadWord_00(t.p());
  const std::string title = std::string(Y) + " READ-WORD " + C + "After RegXX => WR[00] " + W + "0x00 to 0xFF";
  EXPECT_EQ(t.Output(), Top(title, "", ModeBlock("           DEVICE starting in ", "BOOT-mode", "")) + C +
                            " Read-WORD From " + W + "0xfd = " + Y + "0102\n\n" + C + " Read-WORD From " + W +
                            "0xfe = " + Y + "FFFFFFFB\n\n" +
                            Done(49, "  Test READ-WORD from 0xFC to 0xFF registr Done!\n"));
  EXPECT_EQ(t.TraceText(),
            "rw 72 -> -9\nsleep 1\nrb c0 -> -9\nsleep 20\nrw 0d -> 50\nsleep 1\n"
            "ww 00 00fc\nsleep 1\nrw 00 -> -9\nsleep 1\n"
            "ww 00 00fd\nsleep 1\nrw 00 -> 258\nsleep 1\n"
            "ww 00 00fe\nsleep 1\nrw 00 -> -5\nsleep 1\n"
            "ww 00 00ff\nsleep 1\nrw 00 -> -9\nsleep 1\n");
  EXPECT_EQ(t.p().BootRom, 1);
}

TEST(RegisterScans, ReadBlockListsEveryRegister) {
  TestProgram t(R"({"words": {"0x72": "0x1111"}, "blocks": {"0xFD": "01 02 0A", "0xFE": -5, "0xFF": ""}})", "fc\n");
  regscan::TestReadBlock(t.p());
  const std::string title = std::string(W) + "     Test " + Y + "READ-BLOCK " + W + "from 0x00 to 0xFF registr";
  EXPECT_EQ(t.Output(),
            Top(title, std::string(C) + " RW 72 = 1111\n",
                ModeBlock("        DEVICE starting in ", "Calibtate-mode", "\n")) +
                C + " Read-BLOCK from " + R + "0xfc : " + C + "4294967287 byte\n" + R + "Not Read\n" + C +
                " Read-BLOCK from " + R + "0xfd : " + C + "3 byte\n" + G + " Block:" + W + " 01 02 0A\n" + C +
                " Read-BLOCK from " + R + "0xfe : " + C + "4294967291 byte\n" + G + " Block:" + W + "\n" + C +
                " Read-BLOCK from " + R + "0xff : " + C + "0 byte\n" + G + " Block:" + W + "\n" +
                Done(51, "  Test READ-BLOCK from 0xFC to 0xFF registr Done!\n"));
  EXPECT_EQ(t.TraceText(),
            "rw 72 -> 4369\nsleep 1\n"
            "rb fc -> -9\nsleep 30\nrb fd -> 3 01 02 0a\nsleep 30\nrb fe -> -5\nsleep 30\nrb ff -> 0\nsleep 30\n");
  EXPECT_EQ(t.p().BootRom, 2);
}

// Register numbers 0x10 to 0x4F would make the gauge act when written to
// ManufacturerAccess: shown as not sent, with no bus step at all.
std::string NotSentWord(int reg) {
  return std::string(C) + " Read-WORD From " + W + Hex("0x%02x = ", reg) + R +
         "not sent: a command that changes the gauge\n\n";
}

std::string NotSentBlock(int reg) {
  return std::string(C) + " Read-BLOCK from " + R + Hex("0x%04x : ", reg) + R +
         "not sent: a command that changes the gauge\n\n";
}

TEST(RegisterScans, ReadWordAfterWritingSkipsTheGaugeCommands) {
  TestProgram t(R"({"words": {"0x72": 0}, "manufacturer_access": {"0x000F": "0x0102", "0x0050": "0x0304"}})", "0F\n");
  regscan::TestReadWord_00(t.p());
  std::string listing = std::string(C) + " Read-WORD From " + W + "0x0f = " + Y + "0102\n\n";
  std::string trace = "rw 72 -> 0\nsleep 1\nww 00 000f\nsleep 1\nrw 00 -> 258\nsleep 1\n";
  for (int reg = 0x10; reg <= 0x4F; ++reg) listing += NotSentWord(reg);
  listing += std::string(C) + " Read-WORD From " + W + "0x50 = " + Y + "0304\n\n";
  for (int reg = 0x50; reg <= 0xFF; ++reg) {
    trace += Hex("ww 00 %04x\nsleep 1\nrw 00 -> ", reg) + (reg == 0x50 ? "772" : "-9") + "\nsleep 1\n";
  }
  const std::string title = std::string(Y) + " READ-WORD " + C + "After RegXX => WR[00] " + W + "0x00 to 0xFF";
  EXPECT_EQ(t.Output(), Top(title, std::string(C) + " RW 72 = 0000\n",
                            ModeBlock("          DEVICE starting in ", "Normal-mode", "")) +
                            listing + Done(49, "  Test READ-WORD from 0x0F to 0xFF registr Done!\n"));
  EXPECT_EQ(t.TraceText(), trace);
}

TEST(RegisterScans, ReadBlock23NumbersRegistersWithFourDigitsAndSkipsTheGaugeCommands) {
  TestProgram t(R"({"words": {"0x72": 0}, "manufacturer_data": {"0x000F": "AA BB", "0x0050": -5}})", "0f");
  regscan::TestReadBlock_23(t.p());
  const std::string title = std::string(W) + "   Test " + Y + "READ-BLOCK [23] " + W + "from 0x00 to 0xFF registr";
  std::string listing = std::string(C) + " Read-BLOCK from " + R + "0x000f : " + C + "2 byte\n" + G + " Block:" + W +
                        " AA BB\n\n";
  for (int reg = 0x10; reg <= 0x4F; ++reg) listing += NotSentBlock(reg);
  listing += std::string(C) + " Read-BLOCK from " + R + "0x0050 : " + C + "4294967291 byte\n" + G + " Block:" + W +
             "\n\n";
  std::string trace = "rw 72 -> 0\nsleep 1\nww 00 000f\nrb 23 -> 2 aa bb\nsleep 10\nww 00 0050\nrb 23 -> -5\nsleep 10\n";
  for (int reg = 0x51; reg <= 0xFF; ++reg) {
    listing += std::string(C) + " Read-BLOCK from " + R + Hex("0x%04x : ", reg) + C + "4294967287 byte\n" + R +
               "Not Read\n\n";
    trace += Hex("ww 00 %04x\nrb 23 -> -9\nsleep 10\n", reg);
  }
  EXPECT_EQ(t.Output(), Top(title, std::string(C) + " RW 72 = 0000\n",
                            ModeBlock("          DEVICE starting in ", "Normal-mode", "")) +
                            listing + Done(51, "  READ-BLOCK[23] from 0x0F to 0xFF registr Done!\n"));
  EXPECT_EQ(t.TraceText(), trace);
}

TEST(RegisterScans, EndOfInputStartsAtZeroAndNoModeBlockOutsideItsModes) {
  TestProgram t(R"({"words": {"0x72": 7, "0x00": 1, "0x2F": 2}})", "");
  t.p().BootRom = 4;  // as the bq9000-family report may leave it
  regscan::TestReadWord(t.p());
  const std::string title = std::string(W) + "     Test " + Y + "READ-WORD " + W + "from 0x00 to 0xFF registr";
  EXPECT_EQ(t.Output(), Top(title, "", "") + C + " Read-WORD From " + W + "0x00 = " + Y + "0001\n\n" + C +
                            " Read-WORD From " + W + "0x2f = " + Y + "0002\n\n" + C + " Read-WORD From " + W +
                            "0x72 = " + Y + "0007\n\n" +
                            Done(49, "  Test READ-WORD from 0x00 to 0xFF registr Done!\n"));
  // 256 registers after the boot check, each read and paced.
  const std::string trace = t.TraceText();
  std::size_t reads = 0;
  for (std::size_t at = trace.find("rw "); at != std::string::npos; at = trace.find("rw ", at + 1)) ++reads;
  EXPECT_EQ(reads, 1u + 256u);
}

TEST(RegisterScans, StartTwoFScans209Registers) {
  TestProgram t(R"({"words": {"0x72": 0}})", "2F\n");
  regscan::TestReadBlock(t.p());
  const std::string out = t.Output();
  std::size_t listed = 0;
  for (std::size_t at = out.find(" Read-BLOCK from "); at != std::string::npos;
       at = out.find(" Read-BLOCK from ", at + 1)) {
    ++listed;
  }
  EXPECT_EQ(listed, 209u);
  EXPECT_NE(out.find(std::string(R) + "0x2f : "), std::string::npos);
  EXPECT_EQ(out.find(std::string(R) + "0x2e : "), std::string::npos);
}

}  // namespace
