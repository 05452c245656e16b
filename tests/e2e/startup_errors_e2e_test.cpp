// Start-up problems end the program before any output, with one line on
// standard error and exit status 2; and the adapter search run to its end.

#include <gtest/gtest.h>

#include <fstream>

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
                      BadStart{"sim:", nullptr, "SMBUS_ADAPTER=sim:: nothing follows the ':'"}));

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
