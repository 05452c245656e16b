// dump on the simulated bq40z: the image is the gauge's data-flash rows byte
// for byte, every request to 0x44 is two bytes, a wrong echo is asked for
// again, and nothing stands under the final names unless the backup is whole.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "platform/sha256.h"
#include "tests/support/fixture.h"
#include "tests/support/gauge_writes.h"
#include "tests/support/harness.h"

namespace {

using namespace testing_support;
using nlohmann::json;
namespace fs = std::filesystem;

// Bytes as a string: "20 40" is " @".
std::string HexBytes(const std::string& text) {
  std::string bytes;
  std::istringstream fields(text);
  for (std::string field; fields >> field;) bytes += static_cast<char>(std::stoi(field, nullptr, 16));
  return bytes;
}

std::string Sha256Hex(const std::string& bytes) {
  const auto digest = platform::Sha256({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  std::string hex;
  char pair[3];
  for (const std::uint8_t byte : digest.value()) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    hex += pair;
  }
  return hex;
}

// The data flash as the profile holds it: the rows 0x4000, 0x4020, ... 0x5FE0.
std::string ProfileRows(const json& profile) {
  std::string image;
  char key[8];
  for (int address = 0x4000; address < 0x6000; address += 32) {
    std::snprintf(key, sizeof key, "0x%04X", address);
    image += HexBytes(profile["manufacturer_data"][key].get<std::string>());
  }
  return image;
}

// The data-flash requests of a trace (high byte 0x40 to 0x5F), in order.
std::vector<std::string> DataFlashRequests(const std::string& trace) {
  std::vector<std::string> requests;
  for (const std::string& line : WriteLines(trace)) {
    if (line.rfind("wb 44 ", 0) != 0 || line.size() < 11) continue;
    const int high = std::stoi(line.substr(9, 2), nullptr, 16);
    if (high >= 0x40 && high <= 0x5F) requests.push_back(line);
  }
  return requests;
}

class Dump : public ::testing::Test {
 protected:
  RunResult Run(const std::string& profile, std::vector<std::string> args) {
    args.insert(args.begin(), {"dump", "--output", "pack.bin"});
    return RunOnGauge(dir_.path(), profile, args);
  }
  std::string File(const char* name) {
    std::ifstream file(dir_.path() / name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }
  // No new backup, and no temporary file left beside where it would be; an
  // earlier image, when there is one, holds what it held.
  void ExpectNoBackup(const char* earlier = nullptr) {
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
      const std::string name = entry.path().filename().string();
      if (earlier == nullptr || name != "pack.bin") {
        EXPECT_EQ(name.find("pack.bin"), std::string::npos) << name;
      }
    }
    if (earlier != nullptr) {
      EXPECT_EQ(File("pack.bin"), earlier);
    }
  }
  ScratchDirectory dir_;
};

TEST_F(Dump, TheImageIsTheProfilesRowsAndTheDescriptionSaysWhatItIs) {
  // Firmware data bytes 2 and 3 of 0x01 and 0x02 make version 0102.
  const std::string profile = Profile("bq40z50", {{"/manufacturer_data/0x0002", "00 45 01 02 00 17 00 03 85 02 00"}});
  std::ofstream(dir_.path() / "pack.bin") << "an earlier backup";
  const RunResult r = Run(profile, {"--yes"});
  ASSERT_EQ(r.exit_code, 0) << r.err;

  const std::string image = File("pack.bin");
  ASSERT_EQ(image.size(), 8192u);
  EXPECT_TRUE(image == ProfileRows(json::parse(profile))) << "byte for byte";
  const std::vector<std::string> requests = DataFlashRequests(r.trace);
  ASSERT_EQ(requests.size(), 256u);
  EXPECT_EQ(requests.front(), "wb 44 00 40");
  EXPECT_EQ(requests[1], "wb 44 20 40");
  EXPECT_EQ(requests.back(), "wb 44 e0 5f");
  // The reply is read 5 ms after its request.
  EXPECT_NE(r.trace.find("wb 44 20 40\nsleep 5\nrb 44 -> 34 20 40 "), std::string::npos);

  const json description = json::parse(File("pack.bin.json"));
  EXPECT_EQ(description["family"], "bq40z");
  EXPECT_EQ(description["device_name"], "bq40z50");
  EXPECT_EQ(description["serial_number"], 0x0A1B);
  EXPECT_EQ(description["firmware_version"], "0x0102");
  EXPECT_EQ(description["address_range"], json({{"first", "0x4000"}, {"last", "0x5FFF"}}));
  EXPECT_EQ(description["image"], "pack.bin");
  EXPECT_EQ(description["time"].get<std::string>().size(), 24u) << "ISO 8601, UTC, with milliseconds";
  EXPECT_EQ(description["sha256"], Sha256Hex(image));
  EXPECT_NE(r.out.find(Sha256Hex(image)), std::string::npos);
}

TEST_F(Dump, AWrongEchoIsAskedForAgainAtMostThreeTimesThenTheAddressIsNamed) {
  json profile = json::parse(Profile("bq40z50"));
  const std::string row = profile["manufacturer_data"]["0x4020"];
  profile["manufacturer_data"].erase("0x4020");
  // Without its own entry, row 0x4020 is answered by block 0x44's: first
  // with the echo of 0x4000, then rightly.
  const std::string wrong = "00 40 " + row;
  const std::string right = "20 40 " + row;
  profile["blocks"]["0x44"] = {wrong, right};
  const RunResult retried = Run(profile.dump(), {"--yes"});
  EXPECT_EQ(retried.exit_code, 0) << retried.err;
  const std::vector<std::string> requests = DataFlashRequests(retried.trace);
  EXPECT_EQ(std::count(requests.begin(), requests.end(), "wb 44 20 40"), 2);
  EXPECT_EQ(File("pack.bin").substr(32, 32), HexBytes(row));

  fs::remove(dir_.path() / "pack.bin");
  fs::remove(dir_.path() / "pack.bin.json");
  profile["blocks"]["0x44"] = wrong;
  const RunResult failed = Run(profile.dump(), {"--yes"});
  EXPECT_EQ(failed.exit_code, 1);
  EXPECT_NE(failed.err.find("0x4020"), std::string::npos) << failed.err;
  const std::vector<std::string> attempts = DataFlashRequests(failed.trace);
  EXPECT_EQ(std::count(attempts.begin(), attempts.end(), "wb 44 20 40"), 4) << "the first and three more";
  EXPECT_EQ(attempts.back(), "wb 44 20 40") << "no row after it";
  ExpectNoBackup();
}

TEST_F(Dump, RefusedBeforeAnyDataFlashRequest) {
  std::ofstream(dir_.path() / "pack.bin") << "kept";
  const struct {
    const char* profile;
    std::vector<std::string> args;
    int exit_code;
  } kCases[] = {
      {"bq40z50-sealed", {"--yes"}, 1},
      {"bq20z-sealed", {"--yes"}, 1},
      {"bq40z50", {}, 2},  // off a terminal without --yes
  };
  for (const auto& c : kCases) {
    const RunResult r = Run(c.profile, c.args);
    EXPECT_EQ(r.exit_code, c.exit_code) << c.profile;
    EXPECT_EQ(DataFlashRequests(r.trace), std::vector<std::string>{}) << c.profile;
    EXPECT_EQ(r.err.rfind("vantrel: ", 0), 0u) << r.err;
    ExpectNoBackup("kept");
  }
}

// Names that cannot take the backup are found before the gauge is read.
TEST_F(Dump, OutputNamesThatCannotBeWrittenAreUsageErrorsBeforeTheGaugeIsRead) {
  std::vector<std::string> outputs = {"", std::string(300, 'n')};
#ifndef _WIN32
  // FILE.json the same file as FILE (wine makes no symbolic links, nor names
  // that are not UTF-8).
  std::ofstream(dir_.path() / "same.bin") << "kept";
  fs::create_symlink("same.bin", dir_.path() / "same.bin.json");
  outputs.push_back("same.bin");
#endif
  for (const std::string& output : outputs) {
    const RunResult r = RunOnGauge(dir_.path(), "bq40z50", {"dump", "--output", output, "--yes"});
    EXPECT_EQ(r.exit_code, 2) << output;
    EXPECT_EQ(r.trace, "") << output;
    EXPECT_LT(r.err.size(), 400u) << "the name is cut in the message";
  }
#ifndef _WIN32
  // A name that is not UTF-8 is escaped in the description.
  const RunResult r = RunOnGauge(dir_.path(), "bq40z50", {"dump", "--output", "p\xff.bin", "--yes"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(json::parse(File("p\xff.bin.json"))["image"], "p\u00ff.bin");
#endif
}

#ifndef _WIN32
// The kernel's protected_symlinks rule, whatever the system's setting: in a
// sticky folder anyone may write to, another user's link is not followed
// for any file the program writes; the folder owner's is, and the file it
// points at keeps its permissions.
TEST_F(Dump, AnotherUsersLinkInAStickyFolderIsNotFollowed) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
  const fs::path shared = dir_.path() / "shared";
  fs::create_directory(shared);
  fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
  std::ofstream(dir_.path() / "secret") << "kept";
  fs::permissions(dir_.path() / "secret", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("../secret", shared / "pack.bin");
  ASSERT_EQ(lchown((shared / "pack.bin").c_str(), 65534, 65534), 0);
  const std::string planted = (shared / "pack.bin").string();
  const struct {
    std::map<std::string, std::string> env;
    std::vector<std::string> args;
  } kWrites[] = {
      {{}, {"dump", "--output", planted, "--yes"}},
      {{}, {"monitor", "--count", "1", "--output", planted}},
      {{{"SMBUS_RECORD", planted}}, {"read"}},
      {{{"SMBUS_TRACE", planted}}, {"read"}},
  };
  for (const auto& w : kWrites) {
    const RunResult r = RunBinary(dir_.path(), w.env, "", w.args);
    EXPECT_EQ(r.exit_code, 2) << w.args[0] << r.err;
    EXPECT_EQ(File("secret"), "kept") << w.args[0];
  }
  ASSERT_EQ(lchown((shared / "pack.bin").c_str(), 0, 0), 0);
  const RunResult followed = RunOnGauge(dir_.path(), "bq40z50", {"dump", "--output", planted, "--yes"});
  EXPECT_EQ(followed.exit_code, 0) << followed.err;
  EXPECT_EQ(File("secret").size(), 8192u);
  EXPECT_EQ(fs::status(dir_.path() / "secret").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
#endif

TEST(Sha256, TheStandardTestVectors) {
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

}  // namespace
