// monitor on a battery whose answers change from sample to sample, in the
// simulated battery's time (SMBUS_SIM_REALTIME=0): rows, their schedule, a
// register that fails mid-run; and once in real time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/harness.h"

namespace {

using namespace testing_support;
using nlohmann::json;

// Three samples, after the presence probe's read of 0x0D. Each reads Voltage four times (its own read and three in the
// cell-voltage search, whose third layout, block 0x23 read twice, holds the
// cells; its 20 ms of pauses make every sample take time).
json ChangingPack() {
  json voltage = json::array();
  json cells = json::array();
  for (const auto& [pack, cell] : {std::pair{15224, "DE 0E"}, std::pair{15200, "D8 0E"}, std::pair{15180, "D3 0E"}}) {
    for (int i = 0; i < 4; ++i) voltage.push_back(pack);
    const std::string block = std::string("00 00 00 00 ") + cell + " " + cell + " " + cell + " " + cell;
    cells.push_back(block);
    cells.push_back(block);
  }
  return {{"words",
           {{"0x03", "0x0000"}, {"0x1A", "0x0031"}, {"0x09", voltage}, {"0x0A", {"0xFC18", "0xFC18", "0xF830"}},
            {"0x0B", {"0xFC18", -9, "0xFC18"}}, {"0x08", {2982, 2985, 2990}}, {"0x0D", {85, 85, 84, 83}},
            {"0x0F", {3740, 3700, 3660}}, {"0x10", 4400}, {"0x16", "0x00C0"}}},
          {"blocks", {{"0x23", cells}}}};
}

class Monitor : public ::testing::Test {
 protected:
  RunResult Sampled(const std::vector<std::string>& args) {
    std::ofstream(dir_.path() / "pack.json") << ChangingPack().dump();
    return RunBinary(dir_.path(), {{"SMBUS_ADAPTER", "sim:pack.json"}, {"SMBUS_SIM_REALTIME", "0"}}, "", args);
  }
  std::string File(const char* name) {
    std::ifstream file(dir_.path() / name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }
  ScratchDirectory dir_;
};

// ISO 8601, UTC, with milliseconds: "d" stands for a digit.
bool IsTime(const std::string& text) {
  const std::string shape = "dddd-dd-ddTdd:dd:dd.dddZ";
  if (text.size() != shape.size()) return false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    if (shape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(text[i])) : text[i] != shape[i]) return false;
  }
  return true;
}

TEST_F(Monitor, ThreeCsvRowsOnTheirSchedule) {
  const RunResult r = Sampled({"monitor", "--count", "3", "--interval", "0.5"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "") << "no status line off a terminal";
  const std::string kRows[] = {
      "0,15224,-1000,-1000,25.05,85,3740,4400,mAh,0x00C0,3806,3806,3806,3806,\n",
      "0.5,15200,-1000,,25.35,84,3700,4400,mAh,0x00C0,3800,3800,3800,3800,average_current_mA=-9\n",
      "1,15180,-2000,-1000,25.85,83,3660,4400,mAh,0x00C0,3795,3795,3795,3795,\n",
  };
  std::istringstream lines(r.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line,
            "time,elapsed_s,voltage_mV,current_mA,average_current_mA,temperature_C,relative_state_of_charge_pct,"
            "remaining_capacity,full_charge_capacity,capacity_unit,battery_status,cell1_mV,cell2_mV,cell3_mV,"
            "cell4_mV,errors");
  for (const std::string& row : kRows) {
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_TRUE(IsTime(line.substr(0, 24))) << line;
    EXPECT_EQ(line.substr(24) + "\n", "," + row);
  }
  EXPECT_FALSE(std::getline(lines, line)) << "three rows only";
  // Each wait is what is left of the interval after the sample's own 20 ms.
  EXPECT_NE(r.trace.find("sleep 480\n"), std::string::npos);
  EXPECT_EQ(r.trace.find("sleep 500\n"), std::string::npos);
}

TEST_F(Monitor, JsonLinesToAFile) {
  const RunResult r = Sampled({"monitor", "--count", "3", "--format", "jsonl", "--output", "log.jsonl"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  std::istringstream lines(File("log.jsonl"));
  std::vector<json> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(json::parse(line));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1]["elapsed_s"], 1.0);
  EXPECT_EQ(rows[1]["voltage_mV"], 15200);
  EXPECT_EQ(rows[1]["average_current_mA"], nullptr);
  EXPECT_EQ(rows[1]["errors"], json({{"average_current_mA", -9}}));
  EXPECT_EQ(rows[2]["cell4_mV"], 3795);
  EXPECT_EQ(rows[2]["errors"], json::object());
}

// A pack that drops off the bus: rows of errors, and the monitor goes on.
TEST_F(Monitor, ABatteryThatStopsAnsweringGivesRowsOfErrors) {
  std::ofstream(dir_.path() / "pack.json") << R"({"words": {"0x0D": [85, 85, -9], "0x09": [15224, -9]}})";
  const RunResult r = RunBinary(dir_.path(), {{"SMBUS_ADAPTER", "sim:pack.json"}, {"SMBUS_SIM_REALTIME", "0"}}, "",
                                {"monitor", "--count", "3"});
  EXPECT_EQ(r.exit_code, 0);
  std::istringstream lines(r.out);
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_NE(rows[3].find(",,,,,,,,,,,,,,voltage_mV=-9;current_mA=-9;"), std::string::npos) << rows[3];
}

// "-" is standard output, not a file of that name.
TEST_F(Monitor, OutputDashIsStandardOutput) {
  const RunResult r = Sampled({"monitor", "--count", "1", "--output", "-"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("time,elapsed_s,", 0), 0u) << r.out;
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "-"));
}

// A gauge in its boot ROM: rows go on, empty, with the mode as their error.
TEST_F(Monitor, BootRomRowsSayTheMode) {
  const RunResult r =
      RunBinary(dir_.path(), {{"SMBUS_ADAPTER", "sim:bq9000-bootrom"}, {"SMBUS_SIM_REALTIME", "0"}}, "",
                {"monitor", "--count", "2", "--format", "jsonl"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  std::istringstream lines(r.out);
  int rows = 0;
  for (std::string line; std::getline(lines, line); ++rows) {
    const json row = json::parse(line);
    EXPECT_EQ(row["errors"], json({{"mode", "boot-ROM"}}));
    EXPECT_EQ(row["relative_state_of_charge_pct"], nullptr);
  }
  EXPECT_EQ(rows, 2);
}

// By default the intervals are real time, whatever the adapter: two samples a
// second apart take a second.
TEST_F(Monitor, IntervalsAreRealTimeByDefault) {
  const auto start = std::chrono::steady_clock::now();
  const RunResult r = RunBinary(dir_.path(), {}, "", {"monitor", "--count", "2"});
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3);
  EXPECT_GE(took, std::chrono::milliseconds(900));
  EXPECT_LT(took, std::chrono::seconds(10));
}

}  // namespace
