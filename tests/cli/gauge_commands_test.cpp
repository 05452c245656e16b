// No word that makes a gauge act reaches ManufacturerAccess, from any menu
// choice or command on any built-in profile; the seal command's own is the
// only one the seal command sends.

#include <gtest/gtest.h>

#include "link/sim/builtin_profiles.h"
#include "tests/support/gauge_writes.h"
#include "tests/support/harness.h"

namespace {

using namespace testing_support;
using Lines = std::vector<std::string>;

// What the seal command may send on a profile's gauge.
int SealCommandOf(const std::string& profile) {
  if (profile.rfind("bq40z", 0) == 0) return 0x0030;
  if (profile.rfind("bq20z", 0) == 0) return 0x0020;
  return -1;
}

TEST(GaugeCommands, NoneReachesTheBusFromAnyMenuChoiceOrCommand) {
  ScratchDirectory dir;
  const std::string kEveryChoice = "1\n2\n3\n4\n5\n6\nZ\n00\nY\n00\nX\n00\nB\n00\n0\n";
  const std::vector<std::vector<std::string>> kCommands = {
      {"detect"},
      {"report"},
      {"report", "bq20z"},
      {"report", "bq30z"},
      {"report", "bq40z"},
      {"report", "bq9000"},
      {"read"},
      {"read", "--json"},
      {"monitor", "--count", "2"},
      {"unseal", "--key", "0x0414,0x3672", "-y"},
      {"full-access", "--key", "0xFFFF,0xFFFF", "-y"},
      {"seal", "-y"},
      {"dump", "--output", "pack.bin", "-y"},
  };
  for (const smb::sim::BuiltinProfile& profile : smb::sim::BuiltinProfiles()) {
    const std::map<std::string, std::string> env = {{"SMBUS_ADAPTER", std::string("sim:") + profile.name},
                                                    {"SMBUS_SIM_REALTIME", "0"}};
    const RunResult menu = RunBinary(dir.path(), env, kEveryChoice);
    EXPECT_EQ(GaugeCommandLines(menu.trace), Lines{}) << profile.name;
    for (const auto& args : kCommands) {
      const RunResult r = RunBinary(dir.path(), env, "", args);
      const int allowed = args[0] == "seal" ? SealCommandOf(profile.name) : -1;
      EXPECT_EQ(GaugeCommandLines(r.trace, allowed), Lines{}) << profile.name << " " << args[0];
    }
  }
}

}  // namespace
