// The command line on a terminal: colour where text is for people, none in
// JSON and CSV, no screen clear; monitor's status line and Ctrl-C; the
// confirmation of the security commands; dump's progress bar and Ctrl-C.

#ifndef _WIN32

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/gauge_writes.h"
#include "tests/support/harness.h"
#include "tests/support/terminal.h"

namespace {

using namespace testing_support;

TEST(OnATerminal, ColourForPeopleNeverInJsonNoScreenClear) {
  ScratchDirectory dir;
  TerminalRun detect(dir.path(), {}, {"detect"});
  EXPECT_EQ(detect.Finish(), 0);
  EXPECT_NE(detect.output().find(std::string(C) + "Family"), std::string::npos) << detect.output();
  EXPECT_EQ(detect.output().substr(detect.output().size() - 4), RESET);

  TerminalRun report(dir.path(), {}, {"report", "bq40z"});
  EXPECT_EQ(report.Finish(), 0);
  EXPECT_NE(report.output().find(std::string(G) + "         Vantrel-bq40z50"), std::string::npos);
  EXPECT_EQ(report.output().find("\x1b[2J"), std::string::npos);

  TerminalRun json(dir.path(), {}, {"read", "--json"});
  EXPECT_EQ(json.Finish(), 0);
  EXPECT_NE(json.output().find("\"schema\": 1"), std::string::npos);
  EXPECT_EQ(json.output().find('\x1b'), std::string::npos);

  TerminalRun plain(dir.path(), {{"NO_COLOR", "1"}}, {"detect"});
  EXPECT_EQ(plain.Finish(), 0);
  EXPECT_EQ(plain.output().find('\x1b'), std::string::npos);
}

// Ctrl-C ends the monitor with exit status 0; the file holds the header and
// only complete rows, as many as the status line counted last.
TEST(OnATerminal, CtrlCEndsTheMonitorAfterItsLastCompleteRow) {
  ScratchDirectory dir;
  TerminalRun monitor(dir.path(), {}, {"monitor", "--output", "log.csv"});
  ASSERT_TRUE(monitor.WaitFor("rows: 3")) << monitor.output();
  monitor.Type("\x03");
  EXPECT_EQ(monitor.Finish(), 0);
  const std::string& shown = monitor.output();
  const std::size_t last = shown.rfind("rows: ");
  ASSERT_NE(last, std::string::npos);
  const long counted = std::stol(shown.substr(last + 6));
  EXPECT_EQ(shown.substr(shown.size() - 2), "\r\n") << "the status line is ended";

  std::ifstream file(dir.path() / "log.csv", std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  const std::string log = text.str();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), '\n') << "no row cut short";
  std::istringstream lines(log);
  std::string line;
  long rows = -1;  // the header
  while (std::getline(lines, line)) {
    ++rows;
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 15) << line;
  }
  EXPECT_GE(rows, 3);
  EXPECT_EQ(rows, counted);
}

TEST(OnATerminal, NoStatusLineWithoutAnOutputFile) {
  ScratchDirectory dir;
  TerminalRun monitor(dir.path(), {}, {"monitor", "--count", "2"});
  EXPECT_EQ(monitor.Finish(), 0);
  EXPECT_EQ(monitor.output().find("rows: "), std::string::npos);
  EXPECT_NE(monitor.output().find("time,elapsed_s,"), std::string::npos);
}

std::string FileText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// "n" sends nothing, "y" sends the key; both after the state read.
TEST(OnATerminal, TheSecurityCommandsAskBeforeSending) {
  ScratchDirectory dir;
  const std::map<std::string, std::string> env = {{"SMBUS_ADAPTER", "sim:bq40z50-sealed"},
                                                  {"SMBUS_TRACE", (dir.path() / "trace.txt").string()}};
  const std::vector<std::string> unseal = {"unseal", "--key", "0x0414,0x3672"};
  TerminalRun declined(dir.path(), env, unseal);
  ASSERT_TRUE(declined.WaitFor("[y/N] ")) << declined.output();
  declined.Type("n\n");
  EXPECT_EQ(declined.Finish(), 1);
  EXPECT_EQ(WriteLines(FileText(dir.path() / "trace.txt")), std::vector<std::string>{"wb 44 54 00"});

  // Standard output to a file: the question and what it is about still reach the terminal.
  TerminalRun confirmed(dir.path(), env, unseal, (dir.path() / "out.txt").string());
  ASSERT_TRUE(confirmed.WaitFor("[y/N] ")) << confirmed.output();
  EXPECT_NE(confirmed.output().find("ww 00 3672"), std::string::npos) << confirmed.output();
  confirmed.Type("y\n");
  EXPECT_EQ(confirmed.Finish(), 0);
  EXPECT_EQ(FileText(dir.path() / "out.txt"), "Security state now        unsealed\n");
  const std::string trace = FileText(dir.path() / "trace.txt");
  EXPECT_EQ(WriteLines(trace), (std::vector<std::string>{"wb 44 54 00", "ww 00 0414", "ww 00 3672", "wb 44 54 00"}));
  ExpectOnlyDocumentedWrites(trace);
}

// The bar counts the 256 rows; Ctrl-C mid-dump leaves no file of the backup.
TEST(OnATerminal, CtrlCMidDumpLeavesNoBackup) {
  ScratchDirectory dir;
  TerminalRun dump(dir.path(), {{"SMBUS_SIM_REALTIME", "1"}}, {"dump", "--output", "pack.bin", "--yes"});
  ASSERT_TRUE(dump.WaitFor(" 16/256 rows")) << dump.output();
  dump.Type("\x03");
  EXPECT_EQ(dump.Finish(), 130);
  EXPECT_NE(dump.output().find("[##...."), std::string::npos);
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().find("pack.bin"), std::string::npos) << entry.path();
  }
}

}  // namespace

#endif
