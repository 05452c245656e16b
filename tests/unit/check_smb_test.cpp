// The battery presence probe: which answers count as a missing battery, and
// the 61 attempts.

#include <gtest/gtest.h>

#include <fstream>

#include "core/discovery.h"
#include "tests/support/harness.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;

std::string Probe(const std::string& word00, const std::string& word0d) {
  return R"({"words": {"0x00": )" + word00 + R"(, "0x0D": )" + word0d + "}}";
}

std::string ProbeTrace(const std::string& a, const std::string& b) {
  return "rw 00 -> " + a + "\nsleep 1\nrw 0d -> " + b + "\nsleep 1\n";
}

struct Answering {
  const char* word00;
  const char* word0d;
};

class ProbeSucceeds : public ::testing::TestWithParam<Answering> {};

TEST_P(ProbeSucceeds, AtTheFirstProbeWithoutAScreen) {
  TestProgram t(Probe(GetParam().word00, GetParam().word0d));
  core::CheckSMB(t.p());
  EXPECT_EQ(t.Output(), CLS);
  EXPECT_EQ(t.TraceText(), ProbeTrace(GetParam().word00, GetParam().word0d));
}

INSTANTIATE_TEST_SUITE_P(Patterns, ProbeSucceeds,
                         ::testing::Values(Answering{"-9", "85"}, Answering{"-5", "-5"},
                                           Answering{"0", "-9"}, Answering{"-1", "0"}));

TEST(ProbeFails, WhenStateOfChargeIsMinusOne) {
  TestProgram t(Probe("[16384, 16384]", "[-1, 90]"));
  std::ofstream("CountSRCHadp.bin") << "\x0a";
  core::CheckSMB(t.p());
  EXPECT_EQ(t.Output(), CLS + NoBatteryScreen("4000", "FFFFFFFF", 60) + AttemptScreen() +
                            SuccessScreen("1.2.3") + CLS);
  EXPECT_EQ(t.TraceText(), ProbeTrace("16384", "-1") +
                               "sleep 1000\nbeep 800 100\nopen 04b4 8613 -> 197121\nid -> 5067605\n" +
                               ProbeTrace("16384", "90"));
}

TEST(ProbeFails, SixtyOneTimesNumberedSixtyDownToZeroThenReturns) {
  TestProgram t("{}");
  std::ofstream("CountSRCHadp.bin") << "\x0a";
  core::CheckSMB(t.p());
  std::string expected;
  for (int counter = 60; counter >= 0; --counter) {
    expected += CLS + NoBatteryScreen("FFFFFFF7", "FFFFFFF7", counter) + AttemptScreen() + SuccessScreen("1.2.3");
  }
  EXPECT_EQ(t.Output(), expected);
  EXPECT_EQ(t.p().virtual_milliseconds, 61 * (1 + 1 + 1000 + 100));
}

TEST(ProbeFails, BatteryConnectedDuringTheRetriesEndsTheLoop) {
  TestProgram t(Probe("[-9, -9, -9, 0]", "[-9, -9, -9, 50]"));
  std::ofstream("CountSRCHadp.bin") << "\x0a";
  core::CheckSMB(t.p());
  const std::string out = t.Output();
  EXPECT_NE(out.find("Read Number " + std::string(W) + "58 ...\n"), std::string::npos);
  EXPECT_EQ(out.find("Read Number " + std::string(W) + "57 ...\n"), std::string::npos);
  EXPECT_EQ(out.substr(out.size() - CLS.size()), CLS);
}

}  // namespace
