// Recording a battery and replaying it, and the vendor library, with the
// real binary.

#include <gtest/gtest.h>

#include <fstream>

#include "link/sim/profile.h"
#include "tests/support/harness.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

void WriteBudget(const fs::path& dir) {
  std::ofstream(dir / "CountSRCHadp.bin", std::ios::binary) << '\x0a' << '\x00';
}

struct Session {
  const char* profile;
  const char* input;
};

class RecordAndReplay : public ::testing::TestWithParam<Session> {};

TEST_P(RecordAndReplay, ReproducesOutputAndTrace) {
  ScratchDirectory first;
  ScratchDirectory second;
  WriteBudget(first.path());
  WriteBudget(second.path());
  const fs::path recording = first.path() / "recorded.json";
  const RunResult recorded = RunBinary(
      first.path(),
      {{"SMBUS_ADAPTER", std::string("sim:") + GetParam().profile}, {"SMBUS_RECORD", recording.string()}, {"CLICOLOR_FORCE", "1"}},
      GetParam().input);
  ASSERT_EQ(recorded.exit_code, 0) << recorded.err;
  EXPECT_NO_THROW(smb::sim::LoadProfile(recording.string()));
  const RunResult replayed =
      RunBinary(second.path(), {{"SMBUS_ADAPTER", "sim:" + recording.string()}, {"CLICOLOR_FORCE", "1"}}, GetParam().input);
  EXPECT_EQ(replayed.exit_code, 0) << replayed.err;
  EXPECT_EQ(replayed.out, recorded.out);
  EXPECT_EQ(replayed.trace, recorded.trace);
  EXPECT_GT(recorded.trace.size(), 300u) << "the session did some work";
}

INSTANTIATE_TEST_SUITE_P(
    EveryReportAndScan, RecordAndReplay,
    ::testing::Values(Session{"bq20z-unsealed", "1"}, Session{"bq20z-sealed", "1"}, Session{"bq20z-fullaccess", "1"},
                      Session{"bq30z-unsealed", "2"}, Session{"bq30z-sealed", "2"}, Session{"bq40z50", "3"},
                      Session{"bq40z50-sealed", "3"}, Session{"bq40z50-fullaccess", "3"}, Session{"bq9000", "4"},
                      Session{"bq9000-bootrom", "4"}, Session{"bq40z50", "1234\n"}, Session{"bq9000", "Z\n00\n"},
                      Session{"bq40z50", "Y\n00\n"}, Session{"bq9000", "X\n00\n"}, Session{"bq40z50", "B\n00\n"},
                      Session{"absent", "0"}));

TEST(VendorLibraryEndToEnd, AReportThroughTheLibraryMatchesTheSimulatedBattery) {
  ScratchDirectory vendor_dir;
  ScratchDirectory sim_dir;
  WriteBudget(vendor_dir.path());
  WriteBudget(sim_dir.path());
  const RunResult vendor = RunBinary(vendor_dir.path(),
                                     {{"SMBUS_ADAPTER", std::string("libsmbusb:") + FAKE_VENDOR_LIBRARY},
                                      {"FAKE_SMBUSB_PROFILE", "bq40z50"},
                                      {"CLICOLOR_FORCE", "1"}},
                                     "3");
  const RunResult sim = RunBinary(sim_dir.path(), {{"CLICOLOR_FORCE", "1"}}, "3");
  EXPECT_EQ(vendor.exit_code, 0) << vendor.err;
  EXPECT_EQ(vendor.out, sim.out);
  EXPECT_EQ(vendor.trace, sim.trace);
}

TEST(VendorLibraryEndToEnd, AMissingLibraryEndsTheProgramBeforeAnyOutput) {
  ScratchDirectory dir;
  const RunResult r = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "libsmbusb:/nonexistent/libsmbusb.so"}}, "0");
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("vantrel: adapter library /nonexistent/libsmbusb.so cannot be loaded: ", 0), 0u) << r.err;
}

}  // namespace
