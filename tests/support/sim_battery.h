#pragma once
// A simulated battery used straight through its adapter operations, for
// tests of the battery itself.

#include <string>

#include "link/sim/sim_adapter.h"

namespace testing_support {

// The battery of a profile's text.
smb::sim::SimAdapter Sim(const std::string& json);

// A block read's bytes; its result in `result` when given.
std::string Block(smb::sim::SimAdapter& sim, int command, int* result = nullptr);

}  // namespace testing_support
