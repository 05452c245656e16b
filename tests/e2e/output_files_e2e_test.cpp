// The recording and the trace with the real binary: nothing lost when the run
// is interrupted or its output breaks, nothing clobbered when it cannot
// start, and a write that fails is said.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>

#include "link/sim/profile.h"
#include "tests/support/harness.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

void WriteBudget(const fs::path& dir) {
  std::ofstream(dir / "CountSRCHadp.bin", std::ios::binary) << '\x0a' << '\x00';
}

std::set<std::string> Entries(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}

TEST(OutputFiles, AStartThatFailsLeavesTheEarlierRecordingAndAGoodRunReplacesItWhole) {
  ScratchDirectory dir;
  WriteBudget(dir.path());
  const fs::path recording = dir.path() / "pack.json";
  std::ofstream(recording) << "earlier";
  const RunResult failed = RunBinary(
      dir.path(), {{"SMBUS_RECORD", recording.string()}, {"SMBUS_TRACE", (dir.path() / "no" / "t.txt").string()}}, "0");
  EXPECT_EQ(failed.exit_code, 2);
  EXPECT_EQ(failed.out, "");
  EXPECT_EQ(ReadFile(recording), "earlier");
  const RunResult recorded = RunBinary(dir.path(), {{"SMBUS_RECORD", recording.string()}}, "0");
  EXPECT_EQ(recorded.exit_code, 0) << recorded.err;
  EXPECT_NE(ReadFile(recording).find("\"0x0D\": 85"), std::string::npos);
  // No new file is left beside it.
  EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"CountSRCHadp.bin", "pack.json", "stderr.txt", "stdin.txt",
                                                        "stdout.txt", "trace.txt"}));
}

#ifndef _WIN32

TEST(OutputFiles, AWriteThatFailsIsSaidAndEndsWithStatusOne) {
  for (const auto& [variable, what] : {std::pair{"SMBUS_RECORD", "recording"}, std::pair{"SMBUS_TRACE", "trace"}}) {
    ScratchDirectory dir;
    WriteBudget(dir.path());
    const RunResult r = RunBinary(dir.path(), {{variable, "/dev/full"}, {"CLICOLOR_FORCE", "1"}}, "0");
    EXPECT_EQ(r.exit_code, 1) << variable;
    EXPECT_EQ(r.err, std::string("vantrel: ") + variable + "=/dev/full: the " + what + " could not be written: " +
                         std::strerror(ENOSPC) + "\n");
    EXPECT_EQ(r.out.rfind(StartupScreen(kProgramName), 0), 0u) << "the run itself goes on";
  }
}

struct Interrupt {
  int signal_number;
  int status;
};

class InterruptedRecording : public ::testing::TestWithParam<Interrupt> {};

TEST_P(InterruptedRecording, KeepsWhatWasRecordedAndResetsTheColour) {
  ScratchDirectory dir;
  WriteBudget(dir.path());
  int input[2];
  int output[2];
  ASSERT_EQ(pipe2(input, O_CLOEXEC), 0);
  ASSERT_EQ(pipe2(output, O_CLOEXEC), 0);
  const fs::path recording = dir.path() / "recorded.json";
  const int child = StartBinary(dir.path(), {{"SMBUS_RECORD", recording.string()}, {"CLICOLOR_FORCE", "1"}}, input[0],
                                output[1], STDERR_FILENO);
  close(input[0]);
  close(output[1]);
  // The menu is written out before the program waits for a choice.
  std::string shown;
  char bytes[4096];
  ssize_t got = 0;
  while (shown.find("YOUR CHOICE: ") == std::string::npos && (got = read(output[0], bytes, sizeof bytes)) > 0) {
    shown.append(bytes, static_cast<std::size_t>(got));
  }
  kill(child, GetParam().signal_number);
  while ((got = read(output[0], bytes, sizeof bytes)) > 0) shown.append(bytes, static_cast<std::size_t>(got));
  close(input[1]);
  close(output[0]);
  EXPECT_EQ(ExitStatus(child), GetParam().status);
  EXPECT_NO_THROW(smb::sim::LoadProfile(recording.string()));
  EXPECT_NE(ReadFile(recording).find("\"0x0D\": 85"), std::string::npos) << ReadFile(recording);
  ASSERT_GE(shown.size(), 4u);
  EXPECT_EQ(shown.substr(shown.size() - 4), RESET);
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedRecording,
                         ::testing::Values(Interrupt{SIGINT, 130}, Interrupt{SIGTERM, 143}, Interrupt{SIGHUP, 129}));

TEST(OutputFiles, ABrokenStandardOutputEndsTheRunWithTheRecordingWhole) {
  ScratchDirectory dir;
  WriteBudget(dir.path());
  int output[2];
  ASSERT_EQ(pipe2(output, O_CLOEXEC), 0);
  close(output[0]);  // as `| head -c 10` does once it has its bytes
  const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
  const fs::path recording = dir.path() / "recorded.json";
  const int child = StartBinary(dir.path(), {{"SMBUS_RECORD", recording.string()}}, in, output[1], -1);
  close(output[1]);
  close(in);
  EXPECT_EQ(ExitStatus(child), 128 + SIGPIPE);
  EXPECT_NO_THROW(smb::sim::LoadProfile(recording.string()));
  EXPECT_NE(ReadFile(recording).find("\"0x0D\": 85"), std::string::npos) << ReadFile(recording);
}

TEST(OutputFiles, ClosedStandardStreamsNeverBecomeTheTrace) {
  ScratchDirectory dir;
  WriteBudget(dir.path());
  const fs::path trace = dir.path() / "trace.txt";
  const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
  const int child = StartBinary(dir.path(), {{"SMBUS_TRACE", trace.string()}}, in, -1, -1);
  close(in);
  EXPECT_EQ(ExitStatus(child), 0);
  EXPECT_EQ(ReadFile(trace), std::string(kDefaultBatteryCycleTrace) + "close\n");
}

#endif

}  // namespace
