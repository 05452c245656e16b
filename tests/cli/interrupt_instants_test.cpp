// Interrupts at the instants where they used to do harm, made exact by a
// preloaded library that raises the signal right after a chosen call: as
// the run ends, as a temporary file is made, between the backup's two
// renames; and Ctrl-C while the monitor waits on a full pipe. The same
// library plants a rival's link at the instant before an output is opened.

#ifndef _WIN32

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/harness.h"

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

class InterruptAt : public ::testing::Test {
 protected:
  RunResult Run(const char* call, int nth, int signal_number, std::map<std::string, std::string> env,
                const std::vector<std::string>& args) {
    const char* asan = std::getenv("ASAN_OPTIONS");
    // The preloaded library comes before the sanitizer's runtime.
    env["ASAN_OPTIONS"] = std::string(asan != nullptr ? asan : "") + ":verify_asan_link_order=0";
    env["LD_PRELOAD"] = SIGNAL_AT_CALL;
    env["SHIM_AFTER"] = call;
    env["SHIM_NTH"] = std::to_string(nth);
    env["SHIM_SIGNAL"] = std::to_string(signal_number);
    return RunBinary(dir_.path(), env, "", args);
  }
  std::string File(const std::string& name) {
    std::ifstream file(dir_.path() / name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }
  // The names in the folder that start with `prefix` (".pack" finds temporary files).
  std::vector<std::string> Named(const std::string& prefix) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(prefix, 0) == 0) names.push_back(name);
    }
    return names;
  }
  ScratchDirectory dir_;
};

TEST_F(InterruptAt, AnExitHandlerEndsTheProcessWithTheSignalsStatus) {
  for (const char* command : {"read", "detect"}) {
    EXPECT_EQ(Run("exit", 1, SIGTERM, {}, {command}).exit_code, 128 + SIGTERM) << command;
  }
}

TEST_F(InterruptAt, TheMakingOfATemporaryFileLeavesNoneBehind) {
  // The recording is the first file prepared, before the handler was installed.
  const RunResult record = Run("mkstemp", 1, SIGINT, {{"SMBUS_RECORD", "pack.json"}}, {"read"});
  EXPECT_EQ(record.exit_code, 128 + SIGINT);
  for (int nth = 1; nth <= 2; ++nth) {
    const RunResult dump = Run("mkstemp", nth, SIGINT, {}, {"dump", "--output", "pack.bin", "--yes"});
    EXPECT_EQ(dump.exit_code, 128 + SIGINT) << nth;
  }
  EXPECT_EQ(Named(".pack"), std::vector<std::string>{});
  EXPECT_EQ(Named("pack"), std::vector<std::string>{});
}

// A link that takes an output's name after the program checked it is
// refused, not followed: the file it points at stays as it was.
TEST_F(InterruptAt, ALinkPlantedJustBeforeAnOutputIsOpenedIsNotFollowed) {
  std::ofstream(dir_.path() / "secret") << "kept";
  const struct {
    std::map<std::string, std::string> env;
    std::vector<std::string> args;
  } kOutputs[] = {
      {{{"SHIM_PLANT", "log.csv:secret"}}, {"monitor", "--count", "1", "--output", "log.csv"}},
      {{{"SHIM_PLANT", "log.csv:secret"}, {"SMBUS_TRACE", "log.csv"}}, {"read"}},
  };
  for (const auto& output : kOutputs) {
    const RunResult r = Run("none", 1, 0, output.env, output.args);
    EXPECT_EQ(r.exit_code, 2) << output.args[0] << r.err;
    EXPECT_EQ(File("secret"), "kept") << output.args[0];
    fs::remove(dir_.path() / "log.csv");
  }
}

TEST_F(InterruptAt, TheBackupPairStandsWholeNewOrWholeEarlier) {
  const std::vector<std::string> dump = {"dump", "--output", "pack.bin", "--yes"};
  std::ofstream(dir_.path() / "pack.bin") << "earlier image";
  std::ofstream(dir_.path() / "pack.bin.json") << "earlier description";
  // The second rename fails: the earlier pair stands.
  const RunResult failed = Run("rename", 2, 0, {}, dump);
  EXPECT_EQ(failed.exit_code, 1);
  EXPECT_EQ(File("pack.bin"), "earlier image");
  EXPECT_EQ(File("pack.bin.json"), "earlier description");
  EXPECT_NE(failed.err.find("the backup was not written"), std::string::npos) << failed.err;
  // An interrupt between the renames waits for the pair.
  const RunResult interrupted = Run("rename", 1, SIGTERM, {}, dump);
  EXPECT_EQ(interrupted.exit_code, 128 + SIGTERM);
  const nlohmann::json description = nlohmann::json::parse(File("pack.bin.json"));
  EXPECT_EQ(description["size_bytes"], File("pack.bin").size());
  EXPECT_EQ(Named(".pack"), std::vector<std::string>{});
}

// Ctrl-C while a write blocks on a full pipe ends the log after that row.
TEST(MonitorOnAFullPipe, CtrlCEndsTheLogWithStatusZero) {
  ScratchDirectory dir;
  int rows[2];
  ASSERT_EQ(pipe(rows), 0);
  const int pid = StartBinary(dir.path(), {{"SMBUS_SIM_REALTIME", "0"}}, -1, rows[1], -1, {"monitor"});
  close(rows[1]);
  // The program waits in write(2) (system call 1) on the full pipe; the
  // pipe is read only once the signal has reached it.
  const std::string proc = "/proc/" + std::to_string(pid);
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  const auto within_time = [&give_up] { return std::chrono::steady_clock::now() < give_up; };
  for (std::string call; call != "1" && within_time();) std::ifstream(proc + "/syscall") >> call;
  kill(pid, SIGINT);
  for (bool pending = true; pending && within_time();) {
    std::ifstream status(proc + "/status");
    pending = false;
    for (std::string line; std::getline(status, line);) {
      const bool mask = line.rfind("SigPnd:", 0) == 0 || line.rfind("ShdPnd:", 0) == 0;
      if (mask && line.find_first_not_of("0\t ", 7) != std::string::npos) pending = true;
    }
  }
  std::string log;
  char bytes[65536];
  for (ssize_t got; (got = read(rows[0], bytes, sizeof bytes)) > 0;) log.append(bytes, static_cast<std::size_t>(got));
  close(rows[0]);
  EXPECT_EQ(ExitStatus(pid), 0);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), '\n') << "the last row is whole";
}

}  // namespace

#endif
