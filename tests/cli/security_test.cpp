// unseal, full-access and seal on the simulated gauges: exactly the key's
// two words or the seal command between two state reads, the state read back
// decides the exit status, and nothing is sent where the command is refused.
// Every trace is checked for writes these commands must never make.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/fixture.h"
#include "tests/support/gauge_writes.h"
#include "tests/support/harness.h"

namespace {

using namespace testing_support;
using Writes = std::vector<std::string>;

// The state reads as the reports make them: OperationStatus (0x0054) through
// the manufacturer block command on a bq40z, through ManufacturerAccess on a bq20z.
const std::string kBq40zState = "wb 44 54 00";
const std::string kBq20zState = "ww 00 0054";

class Security : public ::testing::Test {
 protected:
  RunResult Run(const std::string& profile, const std::vector<std::string>& args) {
    return RunOnGauge(dir_.path(), profile, args);
  }
  ScratchDirectory dir_;
};

bool EndsWithState(const RunResult& r, const std::string& state) {
  return EndsWith(r.out, "Security state now        " + state + "\n");
}

TEST_F(Security, TheRightKeySendsItsTwoWordsBetweenTwoStateReads) {
  // Two words in the order they are sent, or one number sent low word first.
  for (const char* key : {"0x0414,0x3672", "0x36720414"}) {
    const RunResult bq40z = Run("bq40z50-sealed", {"unseal", "--key", key, "--yes"});
    EXPECT_EQ(bq40z.exit_code, 0) << key << bq40z.err;
    EXPECT_EQ(WriteLines(bq40z.trace), (Writes{kBq40zState, "ww 00 0414", "ww 00 3672", kBq40zState})) << key;
    ExpectContainsEach(bq40z.out, {"bq40z50", "Security state            sealed\n", "ww 00 0414\n", "ww 00 3672\n"});
    EXPECT_TRUE(EndsWithState(bq40z, "unsealed")) << bq40z.out;
  }
  const RunResult bq20z = Run("bq20z-sealed", {"unseal", "--key", "0x0414,0x3672", "-y"});
  EXPECT_EQ(bq20z.exit_code, 0) << bq20z.err;
  EXPECT_EQ(WriteLines(bq20z.trace), (Writes{kBq20zState, "ww 00 0414", "ww 00 3672", kBq20zState}));
  EXPECT_TRUE(EndsWithState(bq20z, "unsealed")) << bq20z.out;
}

TEST_F(Security, AWrongKeyExitsOneAndABq20zSaysItWaitsFourSeconds) {
  const RunResult bq40z = Run("bq40z50-sealed", {"unseal", "--key", "0x0414,0x3673", "--yes"});
  EXPECT_EQ(bq40z.exit_code, 1);
  EXPECT_EQ(WriteLines(bq40z.trace), (Writes{kBq40zState, "ww 00 0414", "ww 00 3673", kBq40zState}));
  EXPECT_TRUE(EndsWithState(bq40z, "sealed")) << bq40z.out;
  EXPECT_EQ(bq40z.err.find("4 s"), std::string::npos) << bq40z.err;

  const RunResult bq20z = Run("bq20z-sealed", {"unseal", "--key", "0x12345678", "--yes"});
  EXPECT_EQ(bq20z.exit_code, 1);
  EXPECT_EQ(WriteLines(bq20z.trace), (Writes{kBq20zState, "ww 00 5678", "ww 00 1234", kBq20zState}))
      << "no second attempt";
  EXPECT_EQ(bq20z.err.rfind("vantrel: ", 0), 0u);
  EXPECT_NE(bq20z.err.find("4 s"), std::string::npos) << bq20z.err;
}

TEST_F(Security, FullAccessAndSealOnBothFamilies) {
  const std::string bq20z_unsealed = Profile("bq20z-sealed", {{"/security/state", "unsealed"}});
  const std::string bq20z_full = Profile("bq20z-sealed", {{"/security/state", "full-access"}});
  const struct {
    std::string profile;
    std::vector<std::string> args;
    Writes writes;
    const char* reached;
  } kCases[] = {
      {"bq40z50",
       {"full-access", "--key", "0xFFFF,0xFFFF", "-y"},
       {kBq40zState, "ww 00 ffff", "ww 00 ffff", kBq40zState},
       "full-access"},
      {bq20z_unsealed,
       {"full-access", "--key", "0xffffffff", "-y"},
       {kBq20zState, "ww 00 ffff", "ww 00 ffff", kBq20zState},
       "full-access"},
      {"bq40z50-fullaccess", {"seal", "-y"}, {kBq40zState, "ww 00 0030", kBq40zState}, "sealed"},
      {bq20z_full, {"seal", "-y"}, {kBq20zState, "ww 00 0020", kBq20zState}, "sealed"},
  };
  for (const auto& c : kCases) {
    const RunResult r = Run(c.profile, c.args);
    EXPECT_EQ(r.exit_code, 0) << c.args[0] << r.err;
    EXPECT_EQ(WriteLines(r.trace), c.writes) << c.args[0];
    EXPECT_TRUE(EndsWithState(r, c.reached)) << r.out;
  }
}

// Nothing that moves the state is sent: other families, a full-access key
// for a sealed gauge, a gauge already where it is asked to go.
TEST_F(Security, RefusedOrNeededNoWrite) {
  for (const char* command : {"unseal", "seal"}) {
    std::vector<std::string> args = {command, "-y"};
    if (std::string(command) == "unseal") args = {command, "--key", "0x0414,0x3672", "-y"};
    const RunResult bq30z = Run("bq30z-sealed", args);
    EXPECT_EQ(bq30z.exit_code, 1) << command;
    EXPECT_EQ(WriteLines(bq30z.trace), Writes{}) << command << ": no write at all";
    EXPECT_NE(bq30z.err.find("not supported for the bq30z family"), std::string::npos) << bq30z.err;
  }
  const RunResult bq9000 = Run("bq9000", {"seal", "--family", "bq9000", "-y"});
  EXPECT_EQ(bq9000.exit_code, 1);
  EXPECT_EQ(WriteLines(bq9000.trace), Writes{});
  const RunResult sealed = Run("bq40z50-sealed", {"full-access", "--key", "0xFFFF,0xFFFF", "-y"});
  EXPECT_EQ(sealed.exit_code, 1);
  EXPECT_EQ(WriteLines(sealed.trace), Writes{kBq40zState});
  const RunResult already = Run("bq20z-sealed", {"seal", "-y"});
  EXPECT_EQ(already.exit_code, 0);
  EXPECT_EQ(WriteLines(already.trace), Writes{kBq20zState});
}

// The family of a command that writes comes from the Device Name or
// --family, never from detect's probes, which write.
TEST_F(Security, NoFamilyWordAndNoFamilyOptionIsRefusedWithoutAWrite) {
  const std::string oem_bq30z = Profile("bq30z-unsealed", {{"/blocks/0x21", {{"text", "ACME 4S2P"}}}});
  const std::vector<std::vector<std::string>> kCommands = {{"unseal", "--key", "0x0414,0x3672", "-y"},
                                                           {"full-access", "--key", "0xFFFF,0xFFFF", "-y"},
                                                           {"seal", "-y"},
                                                           {"dump", "--output", "pack.bin", "-y"}};
  for (const std::string& profile : {oem_bq30z, std::string("bq9000")}) {
    for (const auto& args : kCommands) {
      const RunResult r = Run(profile, args);
      EXPECT_EQ(r.exit_code, 2) << args[0];
      EXPECT_EQ(WriteLines(r.trace), Writes{}) << args[0] << ": no write at all";
      EXPECT_NE(r.err.find("--family"), std::string::npos) << r.err;
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
  }
  const RunResult contradicted = Run("bq40z50", {"seal", "--family", "bq20z", "-y"});
  EXPECT_EQ(contradicted.exit_code, 2);
  EXPECT_EQ(WriteLines(contradicted.trace), Writes{});
  EXPECT_NE(contradicted.err.find("--family bq20z"), std::string::npos) << contradicted.err;
}

TEST_F(Security, OffATerminalWithoutYesShowsTheWritesAndSendsNone) {
  const RunResult r = Run("bq40z50-sealed", {"unseal", "--key", "0x0414,0x3672"});
  EXPECT_EQ(r.exit_code, 2);
  ExpectContainsEach(r.out, {"ww 00 0414\n", "ww 00 3672\n"});
  EXPECT_EQ(WriteLines(r.trace), Writes{kBq40zState});
  EXPECT_NE(r.err.find("--yes"), std::string::npos) << r.err;
}

TEST_F(Security, AKeyThatIsNotTwoWordsOrHoldsACommandValueIsAUsageError) {
  const char* kBad[] = {
      "0414,3672",       // no 0x: hexadecimal or decimal cannot be told apart
      "0x0414",          // one word
      "0x0414,0x3672,0x1",
      "0x10414,0x3672",  // more than 16 bits
      "0x0414;0x3672",
      "0x0010,0x3672",   // shutdown
      "0x0414,0x0041",   // reset
      "0x36720F00",      // ROM mode, sent first
  };
  for (const char* key : kBad) {
    const RunResult r = Run("bq40z50-sealed", {"unseal", "--key", key, "--yes"});
    EXPECT_EQ(r.exit_code, 2) << key;
    EXPECT_EQ(r.trace, "") << key << ": the bus is not touched";
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << key << ": " << r.err;
  }
}

}  // namespace
