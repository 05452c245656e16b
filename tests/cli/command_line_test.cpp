// The command line's parsing: commands, options, help and version, and the
// one-line refusal (exit 2) of everything else.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

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

}  // namespace
