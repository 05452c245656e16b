// read: every value converted as the Smart Battery Data rules say, parsed
// back from the JSON document; the text form; a recorded read replays.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/support/harness.h"

namespace {

using namespace testing_support;
using nlohmann::json;

// A bq40z in mWh mode with IPScale 1 (SpecificationInfo 0x1031); two
// registers fail (one with the profile's code -9, one with -7), two say
// "not available"; the manufacturer name holds a control and a high byte.
constexpr const char* kPack = R"({
  "words": {
    "0x01": 44, "0x02": 10, "0x03": "0xE001", "0x04": "0xFFF6", "0x05": 65535, "0x06": 95, "0x07": 1,
    "0x08": 2982, "0x09": 15224, "0x0A": "0xFFCE", "0x0B": "0xFFD8", "0x0C": 3, "0x0D": 85, "0x0E": 80,
    "0x0F": 374, "0x10": 440, "0x12": -7, "0x13": 65535, "0x14": 200, "0x15": 16800, "0x16": "0x40C2",
    "0x17": 37, "0x18": 480, "0x19": 14400, "0x1A": "0x1031", "0x1B": "0x4A6F", "0x1C": "0x0A1B",
    "0x3C": 3805, "0x3D": 3806, "0x3E": 3805, "0x3F": 3808
  },
  "blocks": { "0x20": "41 63 6D 65 01 E9", "0x21": { "text": "bq40z50" }, "0x22": { "text": "LION" } },
  "manufacturer_data": { "0x0001": "00 45", "0x0054": "87 03 00 10" }
})";

class Read : public ::testing::Test {
 protected:
  RunResult Battery(const char* profile, std::vector<std::string> args, std::map<std::string, std::string> env = {}) {
    std::ofstream(dir_.path() / "pack.json") << profile;
    env.emplace("SMBUS_ADAPTER", "sim:pack.json");
    return RunBinary(dir_.path(), env, "", args);
  }
  ScratchDirectory dir_;
};

TEST_F(Read, JsonHoldsEveryKeyConvertedAsTheStandardSays) {
  const RunResult r = Battery(kPack, {"read", "--json"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out.find_first_of("\x1b\x80\xff"), std::string::npos) << "ASCII only, no colour";
  const json doc = json::parse(r.out);
  const json expected = {
      {"schema", 1},
      {"family", "bq40z"},
      {"device_name", "bq40z50"},
      {"manufacturer_name", "Acme\x01\xC3\xA9"},  // the byte 0xE9 as U+00E9
      {"chemistry", "LION"},
      {"serial_number", 0x0A1B},
      {"manufacture_date", "2017-03-15"},
      {"specification_info", "0x1031"},
      {"capacity_unit", "mWh"},
      {"remaining_capacity_alarm", 4400},  // 44 x 10 mWh x 10^1
      {"remaining_time_alarm_min", 10},
      {"at_rate", -1000},  // -10 x 10 mW x 10^1
      {"at_rate_time_to_full_min", nullptr},
      {"at_rate_time_to_empty_min", 95},
      {"at_rate_ok", true},
      {"temperature_C", 25.05},
      {"voltage_mV", 15224},
      {"current_mA", -500},
      {"average_current_mA", -400},
      {"max_error_pct", 3},
      {"relative_state_of_charge_pct", 85},
      {"absolute_state_of_charge_pct", 80},
      {"remaining_capacity", 37400},
      {"full_charge_capacity", 44000},
      {"run_time_to_empty_min", nullptr},
      {"average_time_to_empty_min", nullptr},
      {"average_time_to_full_min", nullptr},
      {"charging_current_mA", 2000},
      {"charging_voltage_mV", 16800},
      {"cycle_count", 37},
      {"design_capacity", 48000},
      {"design_voltage_mV", 14400},
      {"battery_mode", {{"raw", "0xE001"}, {"flags", {"CapM", "ChgM", "AM", "ICC"}}}},
      {"battery_status", {{"raw", "0x40C2"}, {"flags", {"TCA", "INIT", "DSG"}}, {"error_code", 2}}},
      {"cell_voltages_mV", {3808, 3805, 3806, 3805}},
      {"cell_imbalance_mV", 3},
      {"state_of_health_pct", 91.7},
      {"seal", "sealed"},
      {"errors", {{"run_time_to_empty_min", -9}, {"average_time_to_empty_min", -7}}},
  };
  EXPECT_EQ(doc, expected) << doc.dump(2);
}

// VScale and IPScale, an exponent above 3, and a BatteryMode that does not
// answer: capacities have no unit then, though their ratio still holds.
TEST_F(Read, ScalesAndAnUnansweredBatteryMode) {
  const struct {
    const char* specification_info;
    int voltage_mV;
    int current_mA;
  } kCases[] = {{"0x0231", 1522400, -50}, {"0x2031", 15224, -5000}, {"0x4431", 15224, -50}};
  for (const auto& c : kCases) {
    const std::string profile = std::string(R"({"words": {"0x09": 15224, "0x0A": "0xFFCE", "0x0D": 85,
        "0x0F": 374, "0x10": 440, "0x18": 480, "0x1A": ")") + c.specification_info + R"("}})";
    const json doc = json::parse(Battery(profile.c_str(), {"read", "--json"}).out);
    EXPECT_EQ(doc["voltage_mV"], c.voltage_mV) << c.specification_info;
    EXPECT_EQ(doc["current_mA"], c.current_mA) << c.specification_info;
    EXPECT_EQ(doc["capacity_unit"], nullptr);
    EXPECT_EQ(doc["remaining_capacity"], nullptr);
    EXPECT_EQ(doc["errors"]["capacity_unit"], -9);
    EXPECT_EQ(doc["errors"]["remaining_capacity"], -9);
    EXPECT_EQ(doc["errors"]["battery_mode"], -9);
    EXPECT_EQ(doc["state_of_health_pct"], 91.7);
    EXPECT_EQ(doc["family"], nullptr);
    EXPECT_EQ(doc["seal"], nullptr);
    EXPECT_EQ(doc.size(), 39u) << "every key, always";
  }
}

TEST_F(Read, TextListsValuesWithUnitsFlagsAndHealth) {
  const RunResult r = Battery(kPack, {"read"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  auto row = [](const std::string& label, const std::string& value) {
    return label + std::string(26 - label.size(), ' ') + value + "\n";
  };
  for (const std::string& line :
       {row("Manufacturer", "Acme\x01\xE9"), row("Seal", "sealed"), row("Remaining capacity alarm", "4400 mWh"),
        row("At rate", "-1000 mW"), row("At rate time to full", "not available"), row("Temperature", "25.05 C"),
        row("Current", "-500 mA"), row("Run time to empty", "n/a (error -9)"),
        row("Average time to empty", "n/a (error -7)"), row("Battery mode", "0xE001 CapM ChgM AM ICC"),
        row("Battery status", "0x40C2 TCA INIT DSG, error code 2"), row("Cell 1", "3808 mV"),
        "\nHealth\n" + row("State of health", "91.7 %") + row("Cycle count", "37") + row("Cell imbalance", "3 mV")}) {
    EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
  }
}

TEST_F(Read, ARecordedReadReplays) {
  const RunResult recorded = Battery(kPack, {"read", "--json"}, {{"SMBUS_RECORD", "recorded.json"}});
  ASSERT_EQ(recorded.exit_code, 0) << recorded.err;
  const RunResult replayed =
      RunBinary(dir_.path(), {{"SMBUS_ADAPTER", "sim:recorded.json"}}, "", {"read", "--json"});
  EXPECT_EQ(replayed.out, recorded.out);
  EXPECT_EQ(replayed.trace, recorded.trace);
}

// Every normal-mode built-in battery answers every word that read uses, with
// the values of one real pack: charges from the capacities, the run time from
// the charge and the current, the pack voltage the sum of its cells, the
// DSG flag with the current's sign.
TEST_F(Read, EveryNormalBuiltInBatteryAnswersInFullAndAgreesWithItself) {
  for (const char* name : {"bq20z-fullaccess", "bq20z-sealed", "bq20z-unsealed", "bq20z-overtemperature",
                           "bq30z-sealed", "bq30z-unsealed", "bq40z50-fullaccess", "bq40z50-sealed", "bq40z50",
                           "bq40z50-healthy", "bq40z50-overvoltage", "bq40z50-permanent-failure", "bq40z50-factory",
                           "bq9000"}) {
    const RunResult r = RunBinary(dir_.path(), {{"SMBUS_ADAPTER", std::string("sim:") + name}}, "", {"read", "--json"});
    ASSERT_EQ(r.exit_code, 0) << name << r.err;
    const json doc = json::parse(r.out);
    EXPECT_EQ(doc["errors"], json::object()) << name;
    const double remaining = doc["remaining_capacity"];
    const int current = doc["current_mA"];
    EXPECT_EQ(doc["absolute_state_of_charge_pct"], std::lround(100 * remaining / doc["design_capacity"].get<double>()));
    EXPECT_EQ(doc["relative_state_of_charge_pct"],
              std::lround(100 * remaining / doc["full_charge_capacity"].get<double>()));
    EXPECT_EQ(doc["run_time_to_empty_min"], current < 0 ? json(static_cast<int>(remaining * 60 / -current)) : json())
        << name;
    EXPECT_LE(std::abs(doc["average_current_mA"].get<int>() - current), std::abs(current) / 20) << name;
    int cells = 0;
    for (const json& cell : doc["cell_voltages_mV"]) cells += cell.get<int>();
    EXPECT_EQ(doc["voltage_mV"], cells) << name;
    const json& flags = doc["battery_status"]["flags"];
    // DSG: not in charge mode, so also set at rest (Smart Battery Data 1.1).
    EXPECT_EQ(std::find(flags.begin(), flags.end(), "DSG") != flags.end(), current <= 0) << name;
  }
}

// A gauge in its boot ROM or in calibration mode gives words that are not
// battery data: read says so and fails; detect names the mode.
TEST_F(Read, BootRomAndCalibrationModeAreNoBatteryData) {
  for (const auto& [name, mode] : {std::pair{"bq9000-bootrom", "boot-ROM"}, std::pair{"bq9000-calibration", "calibration"}}) {
    const std::map<std::string, std::string> env = {{"SMBUS_ADAPTER", std::string("sim:") + name}};
    for (const char* json_flag : {"", "--json"}) {
      std::vector<std::string> args = {"read"};
      if (*json_flag != 0) args.push_back(json_flag);
      const RunResult r = RunBinary(dir_.path(), env, "", args);
      EXPECT_EQ(r.exit_code, 1) << name;
      EXPECT_EQ(r.out, "") << name;
      EXPECT_EQ(r.err, std::string("vantrel: the gauge is in ") + mode + " mode and gives no battery data\n");
    }
    const RunResult detect = RunBinary(dir_.path(), env, "", {"detect"});
    EXPECT_NE(detect.out.find(std::string("\nMode                      ") + mode + " (no battery data)\n"),
              std::string::npos)
        << detect.out;
  }
}

// Cells that no layout adds up to, and a pack of three cells.
TEST_F(Read, CellsThatAreNotCellsAreNotShownAsCells) {
  const RunResult none = Battery(R"({"words": {"0x09": 12000, "0x0D": 85}})", {"read"});
  EXPECT_NE(none.out.find("Cell voltages             no cell layout matches the pack voltage (12000 mV)\n"),
            std::string::npos)
      << none.out;
  const RunResult three =
      Battery(R"({"words": {"0x09": 11400, "0x0D": 85, "0x3F": 3800, "0x3E": 3800, "0x3D": 3800, "0x3C": 0}})", {"read"});
  EXPECT_NE(three.out.find("Cell 3                    3800 mV\n"), std::string::npos) << three.out;
  EXPECT_EQ(three.out.find("Cell 4"), std::string::npos) << three.out;
  const json doc = json::parse(Battery(R"({"words": {"0x09": 11400, "0x0D": 85, "0x3F": 3800, "0x3E": 3800,
      "0x3D": 3800, "0x3C": 0}})", {"read", "--json"}).out);
  EXPECT_EQ(doc["cell_voltages_mV"], json({3800, 3800, 3800, nullptr}));
}

}  // namespace
