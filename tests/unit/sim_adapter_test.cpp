// The simulated battery: profile files, answer sequences and selections.

#include <gtest/gtest.h>

#include <algorithm>

#include "link/sim/sim_adapter.h"
#include "tests/support/sim_battery.h"

namespace {

using smb::sim::ParseProfile;
using smb::sim::ProfileError;
using smb::sim::SimAdapter;
using testing_support::Block;
using testing_support::Sim;

TEST(Profile, DefaultsAnswerTheAdapterAndMissingReads) {
  SimAdapter sim = Sim("{}");
  EXPECT_EQ(sim.OpenDeviceVIDPID(0x04B4, 0x8613), 197121);
  EXPECT_EQ(sim.InterfaceID(), 5067605);
  EXPECT_EQ(sim.ReadWord(0x16, 0x0D), -9);
  int result = 0;
  EXPECT_EQ(Block(sim, 0x20, &result), "");
  EXPECT_EQ(result, -9);
}

TEST(Profile, WordAndBlockAnswerForms) {
  SimAdapter sim = Sim(R"({"missing": -5, "words": {"0x0d": 85, "0X09": "0xFFFE", "0x10": -1005},
    "blocks": {"0x20": {"text": "SDI"}, "0x21": "62 71 34 30", "0x22": "", "0x23": -2}})");
  EXPECT_EQ(sim.ReadWord(0x16, 0x0D), 85);
  EXPECT_EQ(sim.ReadWord(0x16, 0x09), 0xFFFE);
  EXPECT_EQ(sim.ReadWord(0x16, 0x10), -1005);
  EXPECT_EQ(sim.ReadWord(0x16, 0x11), -5);
  int result = 0;
  EXPECT_EQ(Block(sim, 0x20, &result), "SDI");
  EXPECT_EQ(result, 3);
  EXPECT_EQ(Block(sim, 0x21), "bq40");
  EXPECT_EQ(Block(sim, 0x22, &result), "");
  EXPECT_EQ(result, 0);
  Block(sim, 0x23, &result);
  EXPECT_EQ(result, -2);
}

TEST(Profile, SequencesRepeatTheirLastAnswerAndCountPerEntry) {
  SimAdapter sim = Sim(R"({"adapter": {"open": [-9, 5]}, "words": {"0x09": [1, 2], "0x0A": [7, 8]}})");
  EXPECT_EQ(sim.ReadWord(0x16, 0x09), 1);
  EXPECT_EQ(sim.ReadWord(0x16, 0x0A), 7);
  EXPECT_EQ(sim.ReadWord(0x16, 0x09), 2);
  EXPECT_EQ(sim.ReadWord(0x16, 0x09), 2);
  EXPECT_EQ(sim.OpenDeviceVIDPID(0, 0), -9);
  EXPECT_EQ(sim.OpenDeviceVIDPID(0, 0), 5);
  EXPECT_EQ(sim.OpenDeviceVIDPID(0, 0), 5);
}

TEST(Selections, AnswerOnlyOnceMadeAndOnlyForTheirEntries) {
  SimAdapter sim = Sim(R"({"words": {"0x00": 17}, "blocks": {"0x23": "AA"},
    "manufacturer_access": {"0x0054": "0x6000"}, "manufacturer_data": {"0x0054": "07 01"},
    "data_flash": {"0x0116": "11 30"}, "subclass": {"0x52": "10 68"}})");
  EXPECT_EQ(sim.ReadWord(0x16, 0x00), 17);  // nothing selected yet
  EXPECT_EQ(Block(sim, 0x23), "\xAA");
  sim.WriteWord(0x16, 0x00, 0x0054);
  EXPECT_EQ(sim.ReadWord(0x16, 0x00), 0x6000);
  EXPECT_EQ(Block(sim, 0x23), "\x07\x01");
  EXPECT_EQ(Block(sim, 0x2F), "");  // data_flash has no 0x0054
  sim.WriteWord(0x16, 0x00, 0x0116);
  EXPECT_EQ(Block(sim, 0x2F), "\x11\x30");
  EXPECT_EQ(sim.ReadWord(0x16, 0x00), 17);  // manufacturer_access has no 0x0116
  EXPECT_EQ(Block(sim, 0x78), "");
  sim.WriteWord(0x16, 0x77, 0x52);
  EXPECT_EQ(Block(sim, 0x78), "\x10\x68");
}

TEST(Selections, Block44EchoesTheRequestBeforeTheData) {
  SimAdapter sim = Sim(R"({"manufacturer_data": {"0x0054": "07 01 00 00", "0x0035": -4}})");
  int result = 0;
  Block(sim, 0x44, &result);
  EXPECT_EQ(result, -9);
  const std::uint8_t request[2] = {0x54, 0x00};
  sim.WriteBlock(0x16, 0x44, request, 2);
  EXPECT_EQ(Block(sim, 0x44, &result), std::string("\x54\x00\x07\x01\x00\x00", 6));
  EXPECT_EQ(result, 6);
  const std::uint8_t one_byte[1] = {0x35};
  sim.WriteBlock(0x16, 0x44, one_byte, 1);  // too short: S44 stays 0x0054
  EXPECT_EQ(Block(sim, 0x44, &result).size(), 6u);
  const std::uint8_t keys[2] = {0x35, 0x00};
  sim.WriteBlock(0x16, 0x44, keys, 2);
  EXPECT_EQ(Block(sim, 0x44, &result), "");
  EXPECT_EQ(result, -4);
}

struct BadProfile {
  const char* json;
  const char* message;
};

class ProfileErrors : public ::testing::TestWithParam<BadProfile> {};

TEST_P(ProfileErrors, NameTheFileAndThePlace) {
  try {
    ParseProfile(GetParam().json, "t.json");
    FAIL() << "accepted";
  } catch (const ProfileError& error) {
    EXPECT_EQ(std::string(error.what()), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ProfileErrors,
    ::testing::Values(
        BadProfile{"{\n  \"words\": {\n    \"0x0D\": 85,\n  }\n}",
                   "profile t.json: line 4, column 3: syntax error while parsing object key - unexpected '}'; "
                   "expected string literal"},
        BadProfile{R"({"word": {}})", "profile t.json: word: unknown key"},
        BadProfile{R"({"adapter": {"opn": 1}})", "profile t.json: adapter.opn: unknown key (expected open or interface_id)"},
        BadProfile{R"({"words": {"0x0D": 65536}})", "profile t.json: words.0x0D: 65536 is out of range -2147483648 to 65535"},
        BadProfile{R"({"words": {"0x0D": -2147483649}})",
                   "profile t.json: words.0x0D: -2147483649 is out of range -2147483648 to 65535"},
        BadProfile{R"({"words": {"0x100": 1}})", "profile t.json: words.0x100: key \"0x100\" is out of range 0x00 to 0xFF"},
        BadProfile{R"({"words": {"13": 1}})",
                   "profile t.json: words.13: key \"13\" is not a hexadecimal number with the prefix 0x"},
        BadProfile{R"({"words": {"0x0D": "0x10000"}})",
                   "profile t.json: words.0x0D: value \"0x10000\" is out of range 0x00 to 0xFFFF"},
        BadProfile{R"({"words": {"0x0D": 1.5}})", "profile t.json: words.0x0D: expected an integer, got 1.5"},
        BadProfile{R"({"words": {"0x0D": 1, "0x0d": 2}})", "profile t.json: words.0x0d: the same key is given twice"},
        BadProfile{R"({"blocks": {"0x20": "53 4"}})",
                   "profile t.json: blocks.0x20: \"4\" is not a byte of two hexadecimal digits"},
        BadProfile{R"({"blocks": {"0x20": 3}})", "profile t.json: blocks.0x20: 3 is out of range -2147483648 to -1"},
        BadProfile{R"({"blocks": {"0x20": {"txt": "a"}}})",
                   "profile t.json: blocks.0x20: unknown key \"txt\" in a block answer"},
        BadProfile{R"({"words": {"0x09": []}})", "profile t.json: words.0x09: a sequence of answers must not be empty"},
        BadProfile{R"({"words": {"0x09": [1, [2]]}})",
                   "profile t.json: words.0x09[1]: a sequence cannot hold another sequence"},
        BadProfile{R"({"missing": 0})", "profile t.json: missing: 0 is out of range -2147483648 to -1"},
        BadProfile{R"([1, 2])", "profile t.json: top level: a profile is a JSON object"},
        BadProfile{R"({"words": {"0x0D": 1e400}})", "profile t.json: line 1, column 24: number overflow parsing '1e400'"},
        BadProfile{R"({"words": {"0x0D": 1, "0x0D": 2}})", "profile t.json: words.0x0D: the same key is given twice"},
        BadProfile{R"({"words": {}, "words": {}})", "profile t.json: words: the same key is given twice"},
        BadProfile{R"({"words": {"\u001b[2J\u0007": 1}})",
                   "profile t.json: words.\\x1B[2J\\x07: key \"\\x1B[2J\\x07\" is not a hexadecimal number with the prefix 0x"}));

// Whatever the text holds, the message is one short line that names the file
// and the place, with nothing in it that a terminal would take as a control.
struct HostileProfile {
  std::string json;
  std::string start;
};

class HostileProfiles : public ::testing::TestWithParam<HostileProfile> {};

TEST_P(HostileProfiles, GiveOneShortPrintableLine) {
  try {
    ParseProfile(GetParam().json, "t.json");
    FAIL() << "accepted";
  } catch (const ProfileError& error) {
    const std::string message = error.what();
    EXPECT_EQ(message.rfind(GetParam().start, 0), 0u) << message;
    EXPECT_LE(message.size(), 250u);
    EXPECT_TRUE(std::all_of(message.begin(), message.end(), [](char c) { return c >= 0x20 && c <= 0x7E; })) << message;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, HostileProfiles,
    ::testing::Values(
        HostileProfile{"{} x", "profile t.json: line 1, column 4: syntax error"},
        HostileProfile{std::string("{}\0{\"words\": 1}", 16), "profile t.json: line 1, column 3: a NUL byte"},
        HostileProfile{std::string(100000, '['), "profile t.json: the JSON value is nested more than 32 levels deep"},
        HostileProfile{"{\"words\": {\"0x0D\": \"" + std::string(4 << 20, 'a') + "\"}}",
                       "profile t.json: words.0x0D: value \"" + std::string(60, 'a') + "...\" is not a hexadecimal"},
        HostileProfile{"{\"" + std::string(4 << 20, 'k') + "\": 1}", "profile t.json: " + std::string(60, 'k') + "...: unknown key"},
        HostileProfile{"{\"description\": \"\x1b]0;title\x07" + std::string(1 << 20, 'x'),
                       "profile t.json: line 1, column 18: syntax error"},
        HostileProfile{"{\"missing\": " + std::string(1 << 20, '9') + "}", "profile t.json: line 1, column "}));

TEST(ProfileErrors, BlockOverTwoHundredFiftyFiveBytes) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += "00 ";
  EXPECT_THROW(ParseProfile(R"({"blocks": {"0x20": ")" + bytes + "\"}}", "t.json"), ProfileError);
  bytes.resize(bytes.size() - 3);
  EXPECT_NO_THROW(ParseProfile(R"({"blocks": {"0x20": ")" + bytes + "\"}}", "t.json"));
}

}  // namespace
