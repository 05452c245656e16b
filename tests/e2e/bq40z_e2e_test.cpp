// The real binary on its default battery: menu choice "3" runs the bq40z report.

#include <gtest/gtest.h>

#include <fstream>

#include "tests/reports/bq40z/expected.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;
using namespace bq40z_expected;

const char* const kCycleTrace = kDefaultBatteryCycleTrace;

// The adapter check and presence probe that choice "3" runs first.
const char* kCheckTrace =
    "open 04b4 8613 -> 197121\n"
    "id -> 5067605\n"
    "rw 00 -> -9\n"
    "sleep 1\n"
    "rw 0d -> 85\n"
    "sleep 1\n";

std::string Cycle() { return DefaultBatteryCycle(); }

TEST(Bq40zEndToEnd, ChoiceThreeOnTheDefaultBattery) {
  ScratchDirectory dir;
  {
    std::ofstream budget(dir.path() / "CountSRCHadp.bin", std::ios::binary);
    budget.put(10);
    budget.put(0);
  }
  // No SMBUS_ADAPTER: the built-in default profile. End of input after "3"
  // ends the program as "0" does.
  const RunResult r = RunBinary(dir.path(), {{"CLICOLOR_FORCE", "1"}}, "3");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, StartupScreen(kProgramName) + Cycle() + AttemptScreen() + SuccessScreen("1.2.3") + CLS +
                       PackReport(Pack::Unsealed) + R + PauseText() + Cycle() + W + RESET);
  EXPECT_EQ(r.trace,
            std::string(kCycleTrace) + kCheckTrace + PackTrace(Pack::Unsealed) + kCycleTrace + "close\n");
}

TEST(Bq40zEndToEnd, BuiltInSealedAndFullAccessPacks) {
  ScratchDirectory dir;
  for (const auto& [name, pack] : {std::pair{"sim:bq40z50-sealed", Pack::Sealed},
                                   std::pair{"sim:bq40z50-fullaccess", Pack::FullAccess}}) {
    const RunResult r = RunBinary(dir.path(), {{"CLICOLOR_FORCE", "1"}, {"SMBUS_ADAPTER", name}}, "3");
    EXPECT_EQ(r.exit_code, 0) << name;
    EXPECT_NE(r.out.find(CLS + PackReport(pack) + R + PauseText()), std::string::npos) << name;
    EXPECT_NE(r.trace.find(std::string(kCheckTrace) + PackTrace(pack) + kCycleTrace + "close\n"), std::string::npos)
        << name;
  }
}

}  // namespace
