// Recording a battery: answers filed under the table and selection in force.

#include <gtest/gtest.h>

#include "link/record/recording_adapter.h"
#include "link/sim/sim_adapter.h"

namespace {

using smb::record::RecordingAdapter;
using smb::sim::ParseProfile;
using smb::sim::SimAdapter;

SimAdapter Sim(const std::string& json) { return SimAdapter(ParseProfile(json, "t.json"), false); }

TEST(Recording, FilesAnswersWhereTheSimulatedBatteryLooksThemUp) {
  SimAdapter battery = Sim(R"({"adapter": {"open": [-9, 197121]},
    "words": {"0x00": 1, "0x0D": [85, 84]},
    "blocks": {"0x20": {"text": "SDI"}},
    "manufacturer_access": {"0x0054": "0x6000"},
    "manufacturer_data": {"0x0054": "07 01 00 00", "0x0035": -4},
    "data_flash": {"0x0116": "11 30"},
    "subclass": {"0x52": "10 68"}})");
  RecordingAdapter recorder(battery);
  std::vector<std::uint8_t> reply;
  recorder.OpenDeviceVIDPID(0x04B4, 0x8613);
  recorder.OpenDeviceVIDPID(0x04B4, 0x8613);
  recorder.InterfaceID();
  recorder.ReadWord(0x16, 0x00);
  recorder.ReadWord(0x16, 0x0D);
  recorder.ReadWord(0x16, 0x0D);
  recorder.ReadWord(0x16, 0x0D);
  recorder.ReadBlock(0x16, 0x20, reply);
  recorder.ReadBlock(0x16, 0x21, reply);
  recorder.WriteWord(0x16, 0x00, 0x0054);
  recorder.ReadWord(0x16, 0x00);
  recorder.ReadBlock(0x16, 0x23, reply);
  recorder.WriteWord(0x16, 0x00, 0x0116);
  recorder.ReadBlock(0x16, 0x2F, reply);
  recorder.WriteWord(0x16, 0x77, 0x52);
  recorder.ReadBlock(0x16, 0x78, reply);
  const std::uint8_t keys[2] = {0x35, 0x00};
  recorder.WriteBlock(0x16, 0x44, keys, 2);
  recorder.ReadBlock(0x16, 0x44, reply);
  EXPECT_EQ(recorder.ProfileText(),
            "{\n"
            "  \"description\": \"recorded\",\n"
            "  \"adapter\": {\"open\": [-9, 197121], \"interface_id\": 5067605},\n"
            "  \"words\": {\n"
            "    \"0x00\": 1,\n"
            "    \"0x0D\": [85, 84, 84]\n"
            "  },\n"
            "  \"blocks\": {\n"
            "    \"0x20\": \"53 44 49\",\n"
            "    \"0x21\": -9\n"
            "  },\n"
            "  \"manufacturer_access\": {\n"
            "    \"0x0054\": 24576\n"
            "  },\n"
            "  \"manufacturer_data\": {\n"
            "    \"0x0035\": -4,\n"
            "    \"0x0054\": \"07 01 00 00\"\n"
            "  },\n"
            "  \"data_flash\": {\n"
            "    \"0x0116\": \"11 30\"\n"
            "  },\n"
            "  \"subclass\": {\n"
            "    \"0x0052\": \"10 68\"\n"
            "  }\n"
            "}\n");
  EXPECT_NO_THROW(ParseProfile(recorder.ProfileText(), "recorded"));
}

TEST(Recording, ABlock44ReplyWithoutItsEchoGoesToTheBlocks) {
  SimAdapter battery = Sim(R"({"blocks": {"0x44": "01 02 03"}})");
  RecordingAdapter recorder(battery);
  std::vector<std::uint8_t> reply;
  const std::uint8_t request[2] = {0x54, 0x00};
  recorder.WriteBlock(0x16, 0x44, request, 2);  // the battery has no 0x0054: the plain block answers
  recorder.ReadBlock(0x16, 0x44, reply);
  EXPECT_NE(recorder.ProfileText().find("\"blocks\": {\n    \"0x44\": \"01 02 03\"\n  }"), std::string::npos)
      << recorder.ProfileText();
}

// A driver that brings 31 data bytes under a count of 40.
class ShortBlockAdapter : public SimAdapter {
 public:
  ShortBlockAdapter() : SimAdapter(ParseProfile("{}", "t.json"), false) {}
  int ReadBlock(int, int, std::vector<std::uint8_t>& reply) override {
    reply.assign(31, 0x41);
    return 40;
  }
};

TEST(Recording, ABlockShorterThanItsCountIsFiledAsTheErrorTheProgramSees) {
  ShortBlockAdapter battery;
  RecordingAdapter recorder(battery);
  std::vector<std::uint8_t> reply;
  recorder.ReadBlock(0x16, 0x21, reply);
  EXPECT_NE(recorder.ProfileText().find("\"blocks\": {\n    \"0x21\": -13\n  }"), std::string::npos)
      << recorder.ProfileText();
}

}  // namespace
