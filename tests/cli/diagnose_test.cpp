// diagnose: the verdict line and exit status of each rule, written from the
// rules' texts; a sealed bq20z read through ManufacturerAccess only; a failed
// status read that is "unreadable", never "ok"; and on every run, writes that
// are only the documented read requests.

#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/fixture.h"
#include "tests/support/gauge_writes.h"
#include "tests/support/harness.h"

namespace {

using namespace testing_support;
using nlohmann::json;

// The read requests diagnose may write: identification, status registers and
// the first LifetimeData block.
bool ReadRequest(int value) {
  return value == 0x0001 || value == 0x0002 || (value >= 0x0050 && value <= 0x0057) || value == 0x0060;
}

void ExpectOnlyReadRequests(const std::string& trace) {
  for (const std::string& line : WriteLines(trace)) {
    std::istringstream fields(line);
    std::string kind, command, low, high;
    fields >> kind >> command >> low >> high;
    const int value = kind == "ww" ? std::stoi(low, nullptr, 16) : std::stoi(low, nullptr, 16) + 256 * std::stoi(high, nullptr, 16);
    EXPECT_TRUE((kind == "ww" && command == "00") || (kind == "wb" && command == "44")) << line;
    EXPECT_FALSE((value >= 0x0010 && value <= 0x004F) || value == 0x0F00) << line;
    EXPECT_TRUE(ReadRequest(value)) << line;
  }
}

// A bq40z50 in service, its status registers as `data` changes them (an
// empty value leaves the register unanswered).
std::string Bq40z(const std::map<std::string, std::string>& data) {
  std::map<std::string, std::string> registers = {
      {"0x0001", "00 45"},       {"0x0050", "00 00 00 00"}, {"0x0051", "00 00 00 00"}, {"0x0052", "00 00 00 00"},
      {"0x0053", "00 00 00 00"}, {"0x0054", "87 02 00 00"}, {"0x0055", "00 04 00"},    {"0x0056", "40 18 01"},
      {"0x0057", "78 00"}};
  for (const auto& [key, value] : data) registers[key] = value;
  std::string text = R"({"words": {"0x08": 2982, "0x09": 15224, "0x0A": 0, "0x0D": 85, "0x16": "0x00C0", "0x3C": 3805,
    "0x3D": 3806, "0x3E": 3805, "0x3F": 3808}, "blocks": {"0x21": {"text": "bq40z50"}}, "manufacturer_data": {)";
  const char* comma = "";
  for (const auto& [key, value] : registers) {
    if (value.empty()) continue;
    text += std::string(comma) + "\"" + key + "\": \"" + value + "\"";
    comma = ", ";
  }
  return text + "}}";
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

class Diagnose : public ::testing::Test {
 protected:
  RunResult Run(const std::string& profile, std::vector<std::string> args = {}) {
    args.insert(args.begin(), "diagnose");
    RunResult r = RunOnGauge(dir_.path(), profile, args);
    ExpectOnlyReadRequests(r.trace);
    return r;
  }
  ScratchDirectory dir_;
};

struct Case {
  std::string profile;
  const char* verdict;
  int exit_code;
};

TEST_F(Diagnose, EachBuiltInPackGivesItsVerdictFirst) {
  const Case cases[] = {
      {"bq40z50-permanent-failure",
       "Permanent failure: voltage imbalance at rest (VIMR). The gauge may keep the pack off; it needs service and "
       "will not recover by charging.",
       3},
      {"bq40z50-overvoltage",
       "Charging is disabled by the gauge: cell overvoltage (COV) has tripped; it may clear when the condition "
       "recovers.",
       3},
      {"bq40z50-factory",
       "Pack still in factory configuration: firmware FET control and permanent failure protections disabled "
       "(ManufacturingStatus).",
       3},
      {"bq20z-overtemperature",
       "Charging is disabled by the gauge: overtemperature in charge (OTC) has tripped; it may clear when the "
       "condition recovers.",
       3},
      {"bq40z50-healthy", "No fault: charging and discharging are allowed.", 0},
  };
  for (const Case& c : cases) {
    const RunResult r = Run(c.profile);
    EXPECT_EQ(FirstLine(r.out), c.verdict) << c.profile << "\n" << r.out << r.err;
    EXPECT_EQ(r.exit_code, c.exit_code) << c.profile;
  }
}

// The packs a newcomer meets first are packs in service: every register that
// diagnose reads answers, and nothing is wrong with them.
TEST_F(Diagnose, TheOrdinaryBuiltInPacksAreInServiceAndAnswerEveryRead) {
  for (const char* profile : {"bq40z50", "bq40z50-sealed", "bq40z50-fullaccess", "bq30z-sealed", "bq30z-unsealed",
                              "bq20z-sealed", "bq20z-unsealed", "bq20z-fullaccess"}) {
    const RunResult r = Run(profile, {"--json"});
    EXPECT_EQ(r.exit_code, 0) << profile << r.err;
    const json doc = json::parse(r.out);
    EXPECT_EQ(doc["verdict"]["code"], "ok") << profile;
    EXPECT_EQ(doc["errors"], json::object()) << profile;
  }
}

TEST_F(Diagnose, EachOtherRuleOnATestPack) {
  const Case cases[] = {
      // OperationStatus XDSG and SafetyStatus UTD.
      {Bq40z({{"0x0054", "87 22 00 00"}, {"0x0051", "00 00 00 08"}}),
       "Discharging is disabled by the gauge: undertemperature while not charging (UTD) has tripped; it clears when "
       "the temperature is back above the UTD recovery temperature.",
       3},
      // SafetyStatus OCD1 alone.
      {Bq40z({{"0x0051", "10 00 00 00"}}),
       "Overcurrent in discharge, tier 1 (OCD1) has tripped; it may clear when the condition recovers.", 3},
      // SafetyAlert OTC, SafetyStatus clear: a warning only.
      {Bq40z({{"0x0050", "00 10 00 00"}}),
       "Warning: overtemperature in charge (OTC) is near the limit; the gauge has taken no action yet.", 0},
      // OperationStatus CHG (bit 2) clear, nothing tripped.
      {Bq40z({{"0x0054", "83 02 00 00"}}),
       "The charge FET is off without a fault: the pack may be asleep, shut down or in factory configuration (see "
       "ManufacturingStatus FET, OperationStatus SDM, SDV, PRES).",
       3},
      // ChargingStatus IN (bit 12).
      {Bq40z({{"0x0055", "00 14 00"}}), "Charging may be held off: charge inhibited (IN); the charger's request may be 0.",
       3},
      // PFStatus unanswered.
      {Bq40z({{"0x0053", ""}}),
       "Status not readable: PFStatus (error -9). Whether a protection has tripped is unknown; this is not a \"no "
       "fault\".",
       3},
  };
  for (const Case& c : cases) {
    const RunResult r = Run(c.profile);
    EXPECT_EQ(FirstLine(r.out), c.verdict) << c.profile << "\n" << r.out << r.err;
    EXPECT_EQ(r.exit_code, c.exit_code) << c.profile;
  }
}

TEST_F(Diagnose, ASealedBq20zIsReadThroughManufacturerAccessOnly) {
  const RunResult r = Run("bq20z-overtemperature");
  // Each status register: its number written to 0x00, its word read back from 0x00.
  for (const char* subcommand : {"0050", "0051", "0052", "0053", "0054", "0055"}) {
    EXPECT_NE(r.trace.find(std::string("ww 00 ") + subcommand + "\nsleep 1\nrw 00 -> "), std::string::npos)
        << subcommand << "\n" << r.trace;
  }
  // Never the direct words, which a sealed bq20z can answer with a stale value.
  for (const char* direct : {"rw 50", "rw 51", "rw 52", "rw 53", "rw 54", "rw 55"}) {
    EXPECT_EQ(r.trace.find(direct), std::string::npos) << direct;
  }
  ExpectContainsEach(r.out, {"Seal                      sealed\n", "Sealed: the detail may be limited"});
}

TEST_F(Diagnose, JsonGivesTheVerdictRulesRegistersAndErrors) {
  const RunResult pf = Run("bq40z50-permanent-failure", {"--json"});
  const json failure = json::parse(pf.out);
  EXPECT_EQ(failure.at("verdict").at("code"), "permanent_failure");
  EXPECT_EQ(failure.at("rules").at(0).at("code"), "permanent_failure");
  EXPECT_EQ(failure.at("registers").at("PFStatus").at("raw"), "0x00000800");
  EXPECT_EQ(failure.at("registers").at("PFStatus").at("flags"),
            json::parse(R"([{"name": "VIMR", "meaning": "voltage imbalance at rest", "effect": "permanent"}])"));
  EXPECT_EQ(failure.at("cell_voltages_mV"), json::parse("[3808, 2950, 3806, 3805]"));
  EXPECT_EQ(failure.at("seal"), "unsealed");
  EXPECT_EQ(failure.at("lifetime").at("min_cell_mV"), json::parse("[3600, 2880, 3602, 3598]"));
  EXPECT_EQ(pf.exit_code, 3);

  const RunResult unread = Run(Bq40z({{"0x0053", ""}}), {"--json"});
  const json unknown = json::parse(unread.out);
  EXPECT_EQ(unknown.at("verdict").at("code"), "unreadable");
  EXPECT_TRUE(unknown.at("registers").at("PFStatus").is_null());
  EXPECT_EQ(unknown.at("errors").at("PFStatus"), -9);
  EXPECT_EQ(unread.exit_code, 3);
}

}  // namespace
