// detect names the family of every built-in battery; report prints exactly
// what the menu choice prints, with the same bus traffic, without the screen
// clear, the menu and the pause.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/harness.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;

struct Pack {
  const char* profile;
  const char* family;
  char choice;
  const char* evidence;
};

const Pack kBuiltIn[] = {
    {"bq20z-fullaccess", "bq20z", '1', "the device name"},   {"bq20z-sealed", "bq20z", '1', "the device name"},
    {"bq20z-unsealed", "bq20z", '1', "the device name"},     {"bq30z-sealed", "bq30z", '2', "the device name"},
    {"bq30z-unsealed", "bq30z", '2', "the device name"},     {"bq40z50-fullaccess", "bq40z", '3', "the device name"},
    {"bq40z50-sealed", "bq40z", '3', "the device name"},     {"bq40z50", "bq40z", '3', "the device name"},
    {"bq9000", "bq9000", '4', "the mode register 0x72"},     {"bq9000-calibration", "bq9000", '4', "the mode register 0x72"},
    {"bq9000-bootrom", "bq9000", '4', "the mode register 0x72"},
};

std::string Line(const std::string& label, const std::string& value) {
  return label + std::string(26 - label.size(), ' ') + value + "\n";
}

TEST(Detect, NamesTheFamilyAndMenuChoiceOfEveryBuiltInBattery) {
  ScratchDirectory dir;
  for (const Pack& pack : kBuiltIn) {
    const RunResult r = RunBinary(dir.path(), {{"SMBUS_ADAPTER", std::string("sim:") + pack.profile}}, "", {"detect"});
    EXPECT_EQ(r.exit_code, 0) << pack.profile;
    const std::string family = std::string(pack.family) + " (by " + pack.evidence + ")";
    const std::string choice = std::string(1, pack.choice) + " (vantrel report " + pack.family + ")";
    EXPECT_NE(r.out.find(Line("Family", family) + Line("Menu choice", choice)), std::string::npos)
        << pack.profile << "\n" << r.out;
  }
  const RunResult absent = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:absent"}}, "", {"detect"});
  EXPECT_EQ(absent.exit_code, 1);
  EXPECT_EQ(absent.out, "");
}

TEST(Detect, TheDefaultBatteryInFull) {
  ScratchDirectory dir;
  const RunResult r = RunBinary(dir.path(), {}, "", {"detect"});
  EXPECT_EQ(r.out, Line("Device name", "bq40z50") + Line("Manufacturer", "Texas Inst.") +
                       Line("Device type", "0x4500 (manufacturer block command 0x44)") +
                       Line("Family", "bq40z (by the device name)") + Line("Menu choice", "3 (vantrel report bq40z)"));
}

// Gauges whose Device Name says nothing: the access path that answers decides.
TEST(Detect, WithoutANameTheAnsweringAccessPathDecides) {
  ScratchDirectory dir;
  std::ofstream(dir.path() / "block.json") << R"({"words": {"0x0D": 85}, "blocks": {"0x21": {"text": "PACK1"}},
      "manufacturer_data": {"0x0001": "80 9D"}})";
  std::ofstream(dir.path() / "access.json") << R"({"words": {"0x0D": 85},
      "manufacturer_access": {"0x0001": "0x0650", "0x0002": "0x0151"}})";
  // A plain Smart Battery: ManufacturerAccess and ManufacturerData answer
  // the same whatever is selected.
  std::ofstream(dir.path() / "plain.json") << R"({"words": {"0x00": "0x0000", "0x0D": 85, "0x72": 5},
      "blocks": {"0x21": {"text": "PACK2"}, "0x23": "01 02 03"}})";
  const RunResult block = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:block.json"}}, "", {"detect"});
  EXPECT_NE(block.out.find(Line("Device type", "0x9D80 (manufacturer block command 0x44)") +
                           Line("Family", "bq40z (by the manufacturer block command 0x44)")),
            std::string::npos)
      << block.out;
  const RunResult access = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:access.json"}}, "", {"detect"});
  EXPECT_NE(access.out.find(Line("Family", "bq20z (by the ManufacturerAccess 0x00)")), std::string::npos)
      << access.out;
  const RunResult plain = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:plain.json"}}, "", {"detect"});
  EXPECT_EQ(plain.exit_code, 0);
  EXPECT_EQ(plain.out, Line("Device name", "PACK2") + Line("Manufacturer", "n/a (error -9)") +
                           "unknown gauge: standard Smart Battery data only\n");
  const RunResult report = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:plain.json"}}, "", {"report"});
  EXPECT_EQ(report.exit_code, 1);
  EXPECT_EQ(report.out, "");
  EXPECT_NE(report.err.find("unknown gauge"), std::string::npos) << report.err;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
  return lines;
}

std::string Join(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
  std::string text;
  for (std::size_t i = from; i < to && i < lines.size(); ++i) text += lines[i];
  return text;
}

// The interactive run's bus traffic of the report: after the choice's adapter
// check and presence probe (six lines), up to the next cycle's adapter check.
std::string MenuReportTrace(const std::string& trace) {
  const std::vector<std::string> lines = Lines(trace);
  std::vector<std::size_t> opens;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("open 04b4 8613", 0) == 0) opens.push_back(i);
  }
  return opens.size() < 3 ? "" : Join(lines, opens[1] + 6, opens[2]);
}

// The command's: after open, id, PEC and the presence probe (eight lines),
// up to the closing of the adapter.
std::string CommandReportTrace(const std::string& trace) {
  const std::vector<std::string> lines = Lines(trace);
  return lines.empty() ? "" : Join(lines, 8, lines.size() - 1);
}

TEST(Report, EqualsTheMenuChoicesPartOfTheInteractiveRun) {
  ScratchDirectory dir;
  std::ofstream(dir.path() / "CountSRCHadp.bin", std::ios::binary) << '\x0a' << '\x00';
  const std::string choice_start = std::string("YOUR CHOICE: ") + W + AttemptScreen() + SuccessScreen("1.2.3") + CLS + CLS;
  const std::string choice_end = std::string(R) + PauseText();
  for (const char* profile : {"bq20z-unsealed", "bq30z-unsealed", "bq40z50", "bq9000"}) {
    const Pack& pack = *std::find_if(std::begin(kBuiltIn), std::end(kBuiltIn),
                                     [&](const Pack& p) { return std::string(p.profile) == profile; });
    const std::map<std::string, std::string> env = {{"SMBUS_ADAPTER", std::string("sim:") + profile},
                                                    {"CLICOLOR_FORCE", "1"}};
    const RunResult menu = RunBinary(dir.path(), env, std::string(1, pack.choice));
    const std::size_t start = menu.out.find(choice_start);
    const std::size_t end = menu.out.find(choice_end, start);
    ASSERT_NE(end, std::string::npos) << profile;
    const std::string menu_report = menu.out.substr(start + choice_start.size(), end - start - choice_start.size());
    for (const std::vector<std::string>& args : {std::vector<std::string>{"report", pack.family},
                                                 std::vector<std::string>{"report"}}) {
      const RunResult command = RunBinary(dir.path(), env, "", args);
      EXPECT_EQ(command.exit_code, 0) << profile;
      EXPECT_EQ(command.err, "") << profile;
      // The family found first (to warn of a report that does not fit), then the same report.
      EXPECT_EQ(command.out, menu_report + RESET) << profile;
      const std::string trace = CommandReportTrace(command.trace);
      const std::string report_trace = MenuReportTrace(menu.trace);
      ASSERT_GE(trace.size(), report_trace.size()) << profile;
      EXPECT_EQ(trace.substr(trace.size() - report_trace.size()), report_trace) << profile;
    }
  }
}

// A report of another family on a gauge that detect knows: the report as asked,
// and one warning line that names the gauge and the report that fits.
TEST(Report, OfAnotherFamilyIsWarnedOf) {
  ScratchDirectory dir;
  const RunResult r = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:bq40z50"}}, "", {"report", "bq20z"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find("Vantrel_bq20zXX"), std::string::npos) << "the report asked for";
  EXPECT_EQ(r.err,
            "vantrel: warning: the bq20z report does not fit this gauge (bq40z50); the report that fits is: vantrel "
            "report bq40z\n");
  const RunResult fits = RunBinary(dir.path(), {{"SMBUS_ADAPTER", "sim:bq40z50"}}, "", {"report", "bq40z"});
  EXPECT_EQ(fits.err, "");
}

}  // namespace
