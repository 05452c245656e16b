#include "tests/support/sim_battery.h"

namespace testing_support {

smb::sim::SimAdapter Sim(const std::string& json) {
  return smb::sim::SimAdapter(smb::sim::ParseProfile(json, "t.json"), false);
}

std::string Block(smb::sim::SimAdapter& sim, int command, int* result) {
  std::vector<std::uint8_t> reply;
  const int r = sim.ReadBlock(0x16, command, reply);
  if (result != nullptr) *result = r;
  return std::string(reply.begin(), reply.end());
}

}  // namespace testing_support
