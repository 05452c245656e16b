// The command line's parsing: commands, options, help and version, and the
// one-line refusal (exit 2) of everything else.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "tests/support/harness.h"

namespace {

using namespace testing_support;

RunResult Vantrel(const std::vector<std::string>& args, std::map<std::string, std::string> env = {}) {
  static ScratchDirectory dir;
  return RunBinary(dir.path(), env, "", args);
}

TEST(CommandLine, VersionAndHelpGoToStandardOutput) {
  for (const char* flag : {"--version", "-V"}) {
    const RunResult r = Vantrel({flag});
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out, "vantrel 1.0.0\n");
    EXPECT_EQ(r.trace, "") << "no bus operation";
  }
  for (const char* flag : {"--help", "-h"}) {
    const RunResult r = Vantrel({flag});
    EXPECT_EQ(r.exit_code, 0);
    for (const char* text : {"detect", "report", "read", "monitor", "--adapter", "--no-pec", "Exit status"}) {
      EXPECT_NE(r.out.find(text), std::string::npos) << text;
    }
    EXPECT_EQ(r.err, "");
  }
  const struct {
    const char* command;
    const char* option;
  } kOwnHelp[] = {{"detect", "--adapter"}, {"report", "FAMILY"}, {"read", "--json"}, {"monitor", "--interval"},
                  {"monitor", "--count"},  {"monitor", "--output"}, {"monitor", "--format"},
                  {"unseal", "--key"},     {"full-access", "--yes"}, {"seal", "--family"},
                  {"dump", "--output"}};
  for (const auto& [command, option] : kOwnHelp) {
    const RunResult r = Vantrel({command, "--help"});
    EXPECT_EQ(r.exit_code, 0) << command;
    EXPECT_NE(r.out.find(option), std::string::npos) << command << " " << option;
  }
}

TEST(CommandLine, UsageErrorsAreOneLineAndExitTwo) {
  const std::vector<std::vector<std::string>> kBad = {
      {"3"},                          // a menu choice is no command
      {"--bogus"},
      {"--no-pec"},                   // options but no command
      {"frobnicate"},
      {"read", "--yaml"},
      {"read", "extra"},
      {"report", "bq50z"},
      {"monitor", "--interval", "0.05"},
      {"monitor", "--interval", "x"},
      {"monitor", "--count", "0"},
      {"monitor", "--count", "2.5"},
      {"monitor", "--format", "xml"},
      {"monitor", "--output"},
      {"detect", "--adapter", "usb"},  // an unknown adapter is a configuration error
      {"unseal"},                      // no key
      {"seal", "--family", "bq50z"},
      {"dump"},                        // no output file
      {"dump", "--output", "no-such-folder/pack.bin"},
  };
  for (const auto& args : kBad) {
    const RunResult r = Vantrel(args);
    const std::string shown = args[0] + (args.size() > 1 ? " " + args[1] : "");
    EXPECT_EQ(r.exit_code, 2) << shown;
    EXPECT_EQ(r.out, "") << shown;
    EXPECT_EQ(r.err.rfind("vantrel: ", 0), 0u) << shown << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << shown << ": " << r.err;
  }
}

TEST(CommandLine, AdapterOptionOverridesTheVariableAndPecCanBeLeftOff) {
  // The variable names a battery that is not there; the option one that is.
  const RunResult r = Vantrel({"--no-pec", "detect", "--adapter", "sim:bq9000"}, {{"SMBUS_ADAPTER", "sim:absent"}});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("bq9000"), std::string::npos);
  EXPECT_EQ(r.trace.rfind("open 04b4 8613 -> 197121\nid -> 5067605\npec 0\n", 0), 0u) << r.trace;
  const RunResult with_pec = Vantrel({"detect"});
  EXPECT_NE(with_pec.trace.find("\npec 1\nsleep 5\n"), std::string::npos);
}

TEST(CommandLine, NoAdapterOrNoBatteryExitsOneAtOnce) {
  ScratchDirectory dir;
  std::ofstream(dir.path() / "gone.json") << R"({"adapter": {"open": -9}})";
  const RunResult gone = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:gone.json"}}, "", {"read"});
  EXPECT_EQ(gone.exit_code, 1);
  EXPECT_EQ(gone.err, "vantrel: the adapter cannot be opened (open result -9)\n");
  const RunResult absent = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:absent"}}, "", {"read", "--json"});
  EXPECT_EQ(absent.exit_code, 1);
  EXPECT_EQ(absent.out, "");
  EXPECT_NE(absent.err.find("no battery answers"), std::string::npos);
  EXPECT_NE(absent.err.find("asleep or discharged"), std::string::npos);
  // No countdown, no restart budget: a few probes within a second.
  std::size_t waited = 0;
  for (std::size_t at = absent.trace.find("sleep "); at != std::string::npos; at = absent.trace.find("sleep ", at + 1)) {
    waited += std::stoul(absent.trace.substr(at + 6));
  }
  EXPECT_LE(waited, 1000u);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "CountSRCHadp.bin"));
}

TEST(CommandLine, HelpFitsEightyColumnsAndTheHelpCommandGivesIt) {
  for (const char* command : {"", "detect", "report", "read", "monitor", "unseal", "full-access", "seal", "dump",
                              "profiles"}) {
    std::vector<std::string> args = {"--help"};
    if (*command != 0) args.insert(args.begin(), command);
    const RunResult r = Vantrel(args);
    EXPECT_EQ(r.exit_code, 0) << command;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << command << ": " << line;
    std::vector<std::string> help = {"help"};
    if (*command != 0) help.push_back(command);
    const RunResult same = Vantrel(help);
    EXPECT_EQ(same.exit_code, 0) << command;
    EXPECT_EQ(same.out, r.out) << command;
  }
}

TEST(CommandLine, AMistypedNameGetsTheNearestOne) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } kTypos[] = {
      {{"reed"}, "vantrel: unknown command \"reed\"; did you mean \"read\"? (see vantrel --help)\n"},
      {{"read", "--jsn"}, "vantrel: unknown option \"--jsn\" for read; did you mean \"--json\"? (see vantrel --help)\n"},
      {{"monitor", "--intervall", "2"},
       "vantrel: unknown option \"--intervall\" for monitor; did you mean \"--interval\"? (see vantrel --help)\n"},
      {{"report", "bq40"}, "did you mean \"bq40z\"?"},
      {{"read", "detect"}, "vantrel: one command at a time: read and detect (see vantrel --help)\n"},
      {{"frobnicate"}, "vantrel: unknown command \"frobnicate\" (see vantrel --help)\n"},
  };
  for (const auto& typo : kTypos) {
    const RunResult r = Vantrel(typo.args);
    EXPECT_EQ(r.exit_code, 2) << typo.args[0];
    EXPECT_NE(r.err.find(typo.message), std::string::npos) << r.err;
  }
}

TEST(CommandLine, ProfilesListsEveryBuiltInBatteryWithItsDescription) {
  const RunResult r = Vantrel({"profiles"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.trace, "") << "no adapter";
  // Names in a column as wide as the longest, bq40z50-permanent-failure.
  for (const char* line : {"\nbq40z50                    bq40z50, unsealed, 4 cells\n",
                           "absent                     no battery on the bus: every read goes unanswered\n"}) {
    EXPECT_NE(r.out.find(line), std::string::npos) << r.out;
  }
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 17);
}

#ifndef _WIN32
// Standard output on a full disk: said once, and the command fails.
TEST(CommandLine, AFullDiskIsAFailure) {
  ScratchDirectory dir;
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"read"}, {"read", "--json"}, {"report"}, {"detect"},
                                             {"monitor", "--count", "2"}, {"profiles"}, {"--help"}}) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open("/dev/full", O_WRONLY);
    const int err = open((dir.path() / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int pid = StartBinary(dir.path(), {{"SMBUS_SIM_REALTIME", "0"}}, in, out, err, args);
    for (const int fd : {in, out, err}) close(fd);
    EXPECT_EQ(ExitStatus(pid), 1) << args[0];
    const std::string shown = ReadFile(dir.path() / "err.txt");
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 1) << args[0] << ": " << shown;
    EXPECT_NE(shown.find("standard output: writing failed"), std::string::npos) << args[0] << ": " << shown;
  }
}
#endif

}  // namespace
