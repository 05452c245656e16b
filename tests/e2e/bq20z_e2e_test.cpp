// The real binary on the built-in bq20z profiles: menu choice "1".

#include <gtest/gtest.h>

#include <fstream>

#include "tests/reports/bq20z/expected.h"
#include "tests/support/harness.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;

class Bq20zEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream file(dir_.path() / "CountSRCHadp.bin", std::ios::binary);
    file.put(10);
    file.put(0);
  }
  RunResult Run(const std::string& profile, const std::string& input) {
    return RunBinary(dir_.path(), {{"CLICOLOR_FORCE", "1"}, {"SMBUS_ADAPTER", "sim:" + profile}}, input);
  }
  ScratchDirectory dir_;
};

// Adapter check, presence probe (with its clear screen), as before every report.
std::string Checks() { return AttemptScreen() + SuccessScreen("1.2.3") + CLS; }

std::string CheckTrace(const std::string& manuf_access) {
  return "open 04b4 8613 -> 197121\nid -> 5067605\nrw 00 -> " + manuf_access + "\nsleep 1\nrw 0d -> 85\nsleep 1\n";
}

const char* kMenuTrace = "pec 1\nsleep 5\nrw 0d -> 85\n";

TEST_F(Bq20zEndToEnd, ChoiceOneOnTheUnsealedPackThenEndOfInput) {
  const RunResult r = Run("bq20z-unsealed", "1");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
  const std::string cycle = Checks() + MenuScreen("0055");
  EXPECT_EQ(r.out, StartupScreen(kProgramName) + cycle + Checks() + bq20z_expected::UnsealedScreen() + R +
                       PauseText() + cycle + W + RESET);
  // The next cycle's probe reads ManufacturerAccess while the last
  // subcommand (0x0008, chemistry id 0x0100) is still selected.
  EXPECT_EQ(r.trace, CheckTrace("-9") + kMenuTrace + CheckTrace("-9") + bq20z_expected::UnsealedTrace() +
                         CheckTrace("256") + kMenuTrace + "close\n");
}

TEST_F(Bq20zEndToEnd, ChoiceOneOnTheSealedPack) {
  const RunResult r = Run("bq20z-sealed", "1");
  EXPECT_EQ(r.exit_code, 0);
  const std::string cycle = Checks() + MenuScreen("0055");
  EXPECT_EQ(r.out, StartupScreen(kProgramName) + cycle + Checks() + bq20z_expected::SealedScreen() + R + PauseText() +
                       cycle + W + RESET);
  EXPECT_EQ(r.trace, CheckTrace("-9") + kMenuTrace + CheckTrace("-9") + bq20z_expected::SealedTrace() +
                         CheckTrace("256") + kMenuTrace + "close\n");
}

}  // namespace
