// The real binary on the built-in unsealed bq30z55: menu choice "2".

#include <gtest/gtest.h>

#include <fstream>

#include "tests/reports/bq30z/expected.h"
#include "tests/support/harness.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;

std::string CheckTrace(int soc) {
  return "open 04b4 8613 -> 197121\nid -> 5067605\nrw 00 -> -9\nsleep 1\nrw 0d -> " + std::to_string(soc) +
         "\nsleep 1\n";
}

std::string CycleTrace(int soc) {
  return CheckTrace(soc) + "pec 1\nsleep 5\nrw 0d -> " + std::to_string(soc) + "\n";
}

TEST(Bq30zEndToEnd, ChoiceTwoRunsTheReportOnTheUnsealedPack) {
  ScratchDirectory dir;
  {
    std::ofstream budget(dir.path() / "CountSRCHadp.bin", std::ios::binary);
    budget.put(10);
    budget.put(0);
  }
  const RunResult r =
      RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:bq30z-unsealed"}, {"CLICOLOR_FORCE", "1"}}, "2");
  const std::string cycle = AttemptScreen() + SuccessScreen("1.2.3") + CLS + MenuScreen("004E");
  // The choice checks the adapter and the battery again; the probe clears the
  // screen, the report clears it once more.
  const std::string check = AttemptScreen() + SuccessScreen("1.2.3") + CLS;
  EXPECT_EQ(r.out, StartupScreen(kProgramName) + cycle + check + bq30z_expected::UnsealedReport() + R + PauseText() +
                       cycle + W + RESET);
  EXPECT_EQ(r.trace, CycleTrace(78) + CheckTrace(78) + bq30z_expected::UnsealedTrace() + CycleTrace(78) + "close\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
}

TEST(Bq30zEndToEnd, SealedPackSkipsTheUnsealedSection) {
  ScratchDirectory dir;
  const RunResult r = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:bq30z-sealed"}}, "2");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find(" Device........................ SEALED\n"), std::string::npos);
  EXPECT_EQ(r.out.find(" Update Status"), std::string::npos);
  EXPECT_NE(r.trace.find(bq30z_expected::SealedTrace()), std::string::npos);
}

}  // namespace
