// Adapter discovery: the open-result classification, the restart budget file
// and the restart command.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "core/discovery.h"
#include "tests/support/harness.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;

void WriteBudget(std::initializer_list<unsigned char> bytes) {
  std::ofstream file("CountSRCHadp.bin", std::ios::binary);
  for (unsigned char b : bytes) file.put(static_cast<char>(b));
}

std::string BudgetBytes() {
  std::ifstream file("CountSRCHadp.bin", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string Profile(const std::string& open, const std::string& id) {
  return R"({"adapter": {"open": )" + open + R"(, "interface_id": )" + id + "}}";
}

int CheckDeviceExitCode(TestProgram& t) {
  try {
    core::CheckDevice(t.p());
  } catch (const core::ProgramEnd& end) {
    return end.code;
  }
  return -1;
}

TEST(CheckDevice, ExpectedAdapterOpensOnceAndResetsTheBudget) {
  TestProgram t(Profile("197121", "5067605"));
  WriteBudget({4, 7});
  EXPECT_EQ(CheckDeviceExitCode(t), -1);
  EXPECT_EQ(t.Output(), AttemptScreen() + SuccessScreen("1.2.3"));
  EXPECT_EQ(t.TraceText(), "open 04b4 8613 -> 197121\nid -> 5067605\n");
  EXPECT_EQ(BudgetBytes(), std::string("\x0a\x00", 2));
  EXPECT_EQ(t.p().SrchADP, 10);
}

TEST(CheckDevice, VersionComesFromTheLowThreeBytesInOrder) {
  // 0x7F030201 would print 1.2.3 as well: bits 24-31 play no part.
  TestProgram t(Profile("2130903553", "5067605"));
  WriteBudget({10, 0});
  CheckDeviceExitCode(t);
  EXPECT_NE(t.Output().find("SMBusb Firmware Version: 1.2.3\n"), std::string::npos);
}

TEST(CheckDevice, OpenResultMinus1000SkipsTheIdentifierQuery) {
  TestProgram t(Profile("[-1000, 197121]", "5067605"));
  WriteBudget({5, 0});
  CheckDeviceExitCode(t);
  EXPECT_EQ(t.TraceText(),
            "open 04b4 8613 -> -1000\nbeep 380 500\nsleep 1000\n"
            "open 04b4 8613 -> 197121\nid -> 5067605\n");
  EXPECT_EQ(t.Output(), AttemptScreen() + FailurePassScreen("5") + AttemptScreen() + SuccessScreen("1.2.3"));
}

TEST(CheckDevice, Minus9WithAnotherIdentifierIsAFailurePass) {
  TestProgram t(Profile("[-9, 197121]", "[1, 5067605]"));
  WriteBudget({10, 0});
  CheckDeviceExitCode(t);
  EXPECT_EQ(t.TraceText(),
            "open 04b4 8613 -> -9\nid -> 1\nbeep 380 500\nsleep 1000\n"
            "open 04b4 8613 -> 197121\nid -> 5067605\n");
}

TEST(CheckDevice, Minus1005WithTheExpectedIdentifierClosesAndReopens) {
  TestProgram t(Profile("[-1005, 262657]", "5067605"));
  WriteBudget({10, 0});
  CheckDeviceExitCode(t);
  EXPECT_EQ(t.TraceText(), "open 04b4 8613 -> -1005\nid -> 5067605\nclose\nopen 04b4 8613 -> 262657\n");
  // 262657 = 0x040201: the version of the second open.
  EXPECT_EQ(t.Output(), AttemptScreen() + SuccessScreen("1.2.4"));
}

TEST(CheckDevice, PositiveResultWithAnotherIdentifierOpensAgainWithoutClosing) {
  TestProgram t(Profile("[197121, -9]", "42"));
  WriteBudget({10, 0});
  CheckDeviceExitCode(t);
  EXPECT_EQ(t.TraceText(), "open 04b4 8613 -> 197121\nid -> 42\nopen 04b4 8613 -> -9\n");
  // The second result is not tested: -9 is 0xFFFFFFF7.
  EXPECT_EQ(t.Output(), AttemptScreen() + SuccessScreen("247.255.255"));
}

// The restart script and an unwritable directory are the platform's own; the
// Windows counterparts are in tests/unit/windows_platform_test.cpp.
#ifndef _WIN32
class RestartTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RestartTest, RestartRunsOncePerPassWithoutANewOpen) {
  TestProgram t(Profile(GetParam(), "1"));
  t.p().NameProg = "my prog;$(touch x) 'q'.exe";
  std::ofstream("RestartProgramm.sh") << "printf '%s|%s\\n' \"$#\" \"$1\" >> restarts.txt\n";
  WriteBudget({1, 0});
  EXPECT_EQ(CheckDeviceExitCode(t), 0);
  const std::string open_line = std::string("open 04b4 8613 -> ") + GetParam() + "\n";
  EXPECT_EQ(t.TraceText(), open_line +
                               "id -> 1\nbeep 380 500\nsleep 1000\n"
                               "restart my prog;$(touch x) 'q'.exe\n"
                               "beep 380 500\n");
  std::ifstream restarts("restarts.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(restarts), {}), "1|my prog;$(touch x) 'q'.exe\n");
  EXPECT_FALSE(std::ifstream("x").good()) << "the name went through a shell";
  // No attempt screen between the two passes.
  EXPECT_EQ(t.Output(), AttemptScreen() + FailurePassScreen("1") + FailurePassScreen("0"));
  EXPECT_EQ(BudgetBytes(), std::string("\x0a\x00", 2));
}

INSTANTIATE_TEST_SUITE_P(OpenResults, RestartTest, ::testing::Values("-1005", "-1010"));
#endif

TEST(CheckDevice, Minus1010WithTheExpectedIdentifierFailsWithoutRestart) {
  TestProgram t(Profile("[-1010, 197121]", "5067605"));
  WriteBudget({10, 0});
  CheckDeviceExitCode(t);
  EXPECT_EQ(t.TraceText().find("restart"), std::string::npos);
}

TEST(BudgetFile, MissingFileShowsTheErrorBlockAndIsCreatedWithTen) {
  TestProgram t("{}");
  EXPECT_EQ(core::CountSRCHadp(t.p(), 0), 10);
  EXPECT_EQ(t.Output(), FileErrorBlock());
  EXPECT_EQ(BudgetBytes(), std::string("\x0a\x00", 2));
}

TEST(BudgetFile, ReadDoesNotWriteAndCountDownKeepsByteOne) {
  TestProgram t("{}");
  WriteBudget({3, 0x77});
  EXPECT_EQ(core::CountSRCHadp(t.p(), 0), 3);
  EXPECT_EQ(BudgetBytes(), std::string("\x03\x77", 2));
  EXPECT_EQ(core::CountSRCHadp(t.p(), -1), 2);
  EXPECT_EQ(BudgetBytes(), std::string("\x02\x77", 2));
  EXPECT_EQ(core::CountSRCHadp(t.p(), 300), 44);  // the low 8 bits of 300
  EXPECT_EQ(BudgetBytes(), std::string("\x2c\x00", 2));
  WriteBudget({0, 5});
  EXPECT_EQ(core::CountSRCHadp(t.p(), -1), 255);
  EXPECT_EQ(t.Output(), "");
}

TEST(BudgetFile, EmptyOrShortFileReadsWhatWasFilled) {
  TestProgram t("{}");
  WriteBudget({});
  EXPECT_EQ(core::CountSRCHadp(t.p(), 0), 0);
  WriteBudget({6});
  EXPECT_EQ(core::CountSRCHadp(t.p(), -1), 5);
  EXPECT_EQ(BudgetBytes(), std::string("\x05\x00", 2));
}

TEST(BudgetFile, ALongerFileIsCutToItsTwoBytes) {
  TestProgram t("{}");
  WriteBudget({3, 1, 9, 9});
  EXPECT_EQ(core::CountSRCHadp(t.p(), -1), 2);
  EXPECT_EQ(BudgetBytes(), std::string("\x02\x01", 2));
}

TEST(BudgetFile, SpentBudgetBeepsResetsTheFileAndEnds) {
  TestProgram t(Profile("-9", "1"));
  WriteBudget({});
  EXPECT_EQ(CheckDeviceExitCode(t), 0);
  EXPECT_EQ(t.Output(), AttemptScreen() + FailurePassScreen("0"));
  EXPECT_EQ(t.TraceText(), "open 04b4 8613 -> -9\nid -> 1\nbeep 380 500\n");
  EXPECT_EQ(BudgetBytes(), std::string("\x0a\x00", 2));
}

TEST(BudgetFile, BudgetThreeCountsDownToZeroThenEnds) {
  TestProgram t(Profile("-9", "1"));
  WriteBudget({3, 0});
  EXPECT_EQ(CheckDeviceExitCode(t), 0);
  std::string expected;
  for (const char* n : {"3", "2", "1", "0"}) expected += AttemptScreen() + FailurePassScreen(n);
  EXPECT_EQ(t.Output(), expected);
  EXPECT_EQ(BudgetBytes(), std::string("\x0a\x00", 2));
}

#ifndef _WIN32
TEST(BudgetFile, UnwritableDirectoryGivesMinus2AndTheSearchGoesOn) {
  TestProgram t(Profile("[-9, 197121]", "[1, 5067605]"));
  const std::string here = std::filesystem::current_path().string();
  ASSERT_EQ(chdir("/proc"), 0);  // no file can be made there, not even by root
  const int code = CheckDeviceExitCode(t);
  const int spent = t.p().SrchADP;
  ASSERT_EQ(chdir(here.c_str()), 0);
  EXPECT_EQ(code, -1);
  EXPECT_EQ(spent, -2);
  const std::string cannot_write = "      Error opening file CountSR\xD0\xA1Hadp.bin\n";
  const std::string pass =
      FileErrorBlock() + C + cannot_write + R + R + cannot_write + FailurePassScreen("4294967294");
  const std::string count_down = FileErrorBlock() + C + cannot_write + R;
  EXPECT_EQ(t.Output(), AttemptScreen() + pass + count_down + AttemptScreen() + SuccessScreen("1.2.3") +
                            FileErrorBlock() + C + cannot_write + R);
}
#endif

#ifndef _WIN32
// A link planted in its place is never followed, and a pipe never waited on:
// both are files that cannot be opened, and what they lead to stays as it was.
TEST(BudgetFile, ALinkOrAPipeInItsPlaceCannotBeOpened) {
  TestProgram t("{}");
  std::ofstream("victim.txt") << "keep";
  std::filesystem::create_symlink("victim.txt", "CountSRCHadp.bin");
  EXPECT_EQ(core::CountSRCHadp(t.p(), 10), -2);
  EXPECT_EQ(ReadFile("victim.txt"), "keep");
  std::filesystem::remove("CountSRCHadp.bin");
  ASSERT_EQ(mkfifo("CountSRCHadp.bin", 0600), 0);
  EXPECT_EQ(core::CountSRCHadp(t.p(), 0), -2);
  const std::string cannot_open = FileErrorBlock() + C + "      Error opening file CountSR\xD0\xA1Hadp.bin\n" + R;
  EXPECT_EQ(t.Output(), cannot_open + cannot_open);
}
#endif

}  // namespace
