// The simulated battery's security: keys, the seal command, the state bits
// of OperationStatus and the data flash of a sealed gauge.

#include <gtest/gtest.h>

#include "link/sim/profile.h"
#include "tests/support/sim_battery.h"

namespace {

using smb::sim::SimAdapter;
using testing_support::Block;
using testing_support::Sim;

std::string Security(const char* family) {
  return std::string(R"("security": {"family": ")") + family +
         R"(", "state": "sealed", "unseal_key": ["0x0414", "0x3672"], "full_access_key": [65535, "0xffff"]})";
}

void Write(SimAdapter& sim, std::initializer_list<int> words) {
  for (const int word : words) sim.WriteWord(0x16, 0x00, word);
}

std::string Request44(SimAdapter& sim, int subcommand, int* result = nullptr) {
  const std::uint8_t request[2] = {static_cast<std::uint8_t>(subcommand & 0xFF), static_cast<std::uint8_t>(subcommand >> 8)};
  sim.WriteBlock(0x16, 0x44, request, 2);
  return Block(sim, 0x44, result);
}

// Byte 1 of a bq40z's OperationStatus (bits 8 to 15), through block 0x44.
int Bq40zStatusByte1(SimAdapter& sim) { return static_cast<unsigned char>(Request44(sim, 0x0054).at(3)); }

TEST(SimSecurity, Bq40zKeysAndSealMoveTheStateThatOperationStatusShows) {
  // The profile's answer has SEC1 and SEC0 clear and bit 10 set.
  SimAdapter sim = Sim("{" + Security("bq40z") + R"(, "manufacturer_data": {"0x0054": "87 04 00 10"}})");
  EXPECT_EQ(Bq40zStatusByte1(sim), 0x07);  // SEC1, SEC0 = 1, 1: sealed
  Write(sim, {0x3672, 0x0414});            // wrong order
  Write(sim, {0xFFFF, 0xFFFF});            // full access only from unsealed
  EXPECT_EQ(Bq40zStatusByte1(sim), 0x07);
  Write(sim, {0x0414, 0x0054, 0x3672});  // not directly one after the other
  EXPECT_EQ(Bq40zStatusByte1(sim), 0x07);
  Write(sim, {0x0414});
  EXPECT_EQ(Bq40zStatusByte1(sim), 0x07);  // the request to 0x44 came between the words
  Write(sim, {0x3672});
  EXPECT_EQ(Bq40zStatusByte1(sim), 0x07);
  Write(sim, {0x1234, 0x0414, 0x3672});
  EXPECT_EQ(Bq40zStatusByte1(sim), 0x06);  // 1, 0: unsealed
  Write(sim, {0x0054});
  EXPECT_EQ(Block(sim, 0x23), std::string("\x87\x06\x00\x10", 4));
  Write(sim, {0xFFFF, 0xFFFF});
  EXPECT_EQ(Bq40zStatusByte1(sim), 0x05);  // 0, 1: full access
  Write(sim, {0x0020});                    // a bq20z's seal command
  EXPECT_EQ(Bq40zStatusByte1(sim), 0x05);
  Write(sim, {0x0030});
  EXPECT_EQ(Bq40zStatusByte1(sim), 0x07);
}

TEST(SimSecurity, Bq20zOperationStatusCarriesFasAndSs) {
  SimAdapter sim = Sim("{" + Security("bq20z") + R"(, "manufacturer_access": {"0x0054": "0x8041"}})");
  const auto status = [&sim] {
    sim.WriteWord(0x16, 0x00, 0x0054);
    return sim.ReadWord(0x16, 0x00);
  };
  EXPECT_EQ(status(), 0xE041);  // FAS, SS = 1, 1: sealed
  Write(sim, {0x0414, 0x1111});
  EXPECT_EQ(status(), 0xE041);
  Write(sim, {0x0414, 0x3672});
  EXPECT_EQ(status(), 0xC041);  // 1, 0: unsealed
  Write(sim, {0xFFFF, 0xFFFF});
  EXPECT_EQ(status(), 0x8041);  // 0, 0: full access
  Write(sim, {0x0020});
  EXPECT_EQ(status(), 0xE041);
}

TEST(SimSecurity, ASealedBq40zDoesNotAnswerDataFlashRows) {
  SimAdapter sim = Sim("{" + Security("bq40z") + R"(, "missing": -7,
    "manufacturer_data": {"0x0054": "00 03 00 00", "0x3FE0": "0A", "0x4000": "01 02", "0x5FE0": "03 04"}})");
  int result = 0;
  EXPECT_EQ(Request44(sim, 0x4000, &result), "");
  EXPECT_EQ(result, -7);
  Write(sim, {0x5FE0});
  Block(sim, 0x23, &result);
  EXPECT_EQ(result, -7);
  EXPECT_EQ(Request44(sim, 0x3FE0), "\xE0\x3F\x0A");  // below the data flash
  Write(sim, {0x0414, 0x3672});
  EXPECT_EQ(Request44(sim, 0x4000, &result), std::string("\x00\x40\x01\x02", 4));
  EXPECT_EQ(Request44(sim, 0x5FE0), "\xE0\x5F\x03\x04");
}

TEST(SimSecurity, BuiltInBatteriesTakeTheDefaultKeysAndHoldAWholeDataFlash) {
  SimAdapter bq20z(smb::sim::LoadProfile("bq20z-sealed"), false);
  Write(bq20z, {0x0414, 0x3672, 0xFFFF, 0xFFFF, 0x0054});
  EXPECT_EQ(bq20z.ReadWord(0x16, 0x00) & 0x6000, 0);
  SimAdapter sealed(smb::sim::LoadProfile("bq40z50-sealed"), false);
  int result = 0;
  Request44(sealed, 0x4000, &result);
  EXPECT_LT(result, 0);
  Write(sealed, {0x0414, 0x3672, 0xFFFF, 0xFFFF});
  EXPECT_EQ(Bq40zStatusByte1(sealed) & 0x03, 0x01);
  for (const char* name : {"bq40z50", "bq40z50-fullaccess"}) {
    SimAdapter sim(smb::sim::LoadProfile(name), false);
    for (int address = 0x4000; address < 0x6000; address += 0x20) {
      const std::string reply = Request44(sim, address, &result);
      ASSERT_EQ(result, 34) << name << " row " << std::hex << address;
      EXPECT_EQ(reply.substr(0, 2), std::string({static_cast<char>(address & 0xFF), static_cast<char>(address >> 8)}));
    }
  }
}

struct BadSecurity {
  const char* member;
  const char* message;
};

TEST(SimSecurity, ABadSecurityMemberIsAProfileError) {
  const BadSecurity cases[] = {
      {R"({"family": "bq30z", "state": "sealed", "unseal_key": [1, 2], "full_access_key": [3, 4]})",
       "security.family: \"bq30z\" is not one of bq20z, bq40z"},
      {R"({"family": "bq40z", "state": "sealed", "unseal_key": ["0x0414"], "full_access_key": [3, 4]})",
       "security.unseal_key: expected the key's two words in the order they are written, as [\"0x0414\", \"0x3672\"]"},
      {R"({"family": "bq40z", "state": "sealed", "unseal_key": [1, 2], "full_access_key": [3, 65536]})",
       "security.full_access_key[1]: 65536 is out of range 0 to 65535"},
      {R"({"family": "bq40z", "state": "sealed", "unseal_key": [1, 2], "full_acces_key": [3, 4]})",
       "security.full_acces_key: unknown key (expected family, state, unseal_key or full_access_key)"},
      {R"({"family": "bq40z", "unseal_key": [1, 2], "full_access_key": [3, 4]})",
       "security: needs the key \"state\""},
  };
  for (const BadSecurity& c : cases) {
    try {
      smb::sim::ParseProfile(std::string(R"({"security": )") + c.member + "}", "t.json");
      ADD_FAILURE() << "accepted " << c.member;
    } catch (const smb::sim::ProfileError& error) {
      EXPECT_EQ(std::string(error.what()), std::string("profile t.json: ") + c.message);
    }
  }
}

}  // namespace
