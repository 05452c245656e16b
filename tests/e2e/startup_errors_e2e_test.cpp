// Start-up problems end the program before any output, with one line on
// standard error and exit status 2; and the adapter search run to its end.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <fstream>
#include <vector>

#include "tests/support/harness.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

struct BadStart {
  const char* adapter;
  const char* profile_text;  // written to bad.json when not null
  const char* error_part;
};

class StartupErrors : public ::testing::TestWithParam<BadStart> {};

TEST_P(StartupErrors, OneLineOnStandardErrorAndNothingElse) {
  ScratchDirectory dir;
  if (GetParam().profile_text != nullptr) std::ofstream(dir.path() / "bad.json") << GetParam().profile_text;
  const RunResult r = RunBinary(dir.path(), {{"SMBUS_ADAPTER", GetParam().adapter}}, "0");
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(GetParam().error_part), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  EXPECT_FALSE(fs::exists(dir.path() / "CountSRCHadp.bin"));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, StartupErrors,
    ::testing::Values(BadStart{"usb", nullptr, "SMBUS_ADAPTER=usb: unknown adapter"},
                      BadStart{"sim:nosuch", nullptr, "unknown built-in profile \"nosuch\""},
                      BadStart{"sim:./missing.json", nullptr, "profile ./missing.json: cannot be read"},
                      BadStart{"sim:bad.json", "{\"words\": {\"0x0D\": 85,}}",
                               "profile bad.json: line 1, column 23: syntax error"},
                      BadStart{"sim:bad.json", "{\"words\": {\"0x0D\": 70000}}",
                               "profile bad.json: words.0x0D: 70000 is out of range"},
                      BadStart{"sim:bad.json", "{\"extra\": 1}", "profile bad.json: extra: unknown key"},
                      BadStart{"sim:", nullptr, "SMBUS_ADAPTER=sim:: nothing follows the ':'"},
                      // Control bytes never reach the terminal.
                      BadStart{"\x1b]0;x\x07\n", nullptr, "SMBUS_ADAPTER=\\x1B]0;x\\x07\\x0A: unknown adapter"}));

// Never blocks on a pipe or reads a device without end.
TEST(StartupErrors, AProfileThatIsNoRegularFileIsNamedForWhatItIs) {
  ScratchDirectory dir;
  fs::create_directory(dir.path() / "dir.json");
  std::vector<std::pair<std::string, std::string>> kinds = {
      {"sim:dir.json", "profile dir.json: cannot be read: it is a directory, not a regular file"}};
#ifndef _WIN32
  ASSERT_EQ(mkfifo((dir.path() / "pipe.json").c_str(), 0600), 0);
  kinds.emplace_back("sim:pipe.json", "profile pipe.json: cannot be read: it is a named pipe, not a regular file");
  kinds.emplace_back("sim:/dev/zero", "profile /dev/zero: cannot be read: it is a character device, not a regular file");
#endif
  for (const auto& [adapter, message] : kinds) {
    const RunResult r = RunBinary(dir.path(), {{"SMBUS_ADAPTER", adapter}}, "0");
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "vantrel: " + message + "\n");
  }
}

TEST(AdapterSearch, BudgetThreeWithoutAdapterShowsThreeDownToZeroAndEnds) {
  ScratchDirectory dir;
  std::ofstream(dir.path() / "gone.json") << R"({"adapter": {"open": -9}})";
  std::ofstream(dir.path() / "CountSRCHadp.bin", std::ios::binary) << '\x03' << '\x00';
  const RunResult r = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:gone.json"}, {"CLICOLOR_FORCE", "1"}}, "");
  EXPECT_EQ(r.exit_code, 0);
  std::string expected = StartupScreen(kProgramName);
  for (const char* n : {"3", "2", "1", "0"}) expected += AttemptScreen() + FailurePassScreen(n);
  EXPECT_EQ(r.out, expected + RESET);
  std::ifstream budget(dir.path() / "CountSRCHadp.bin", std::ios::binary);
  EXPECT_EQ(budget.get(), 10);
  const std::string last_pass = "sleep 1000\nopen 04b4 8613 -> -9\nid -> 5067605\nbeep 380 500\n";
  EXPECT_EQ(r.trace.substr(r.trace.size() - last_pass.size()), last_pass);
}

}  // namespace
