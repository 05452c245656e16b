#pragma once

#include <string>
#include <vector>

namespace smb::sim {

struct BuiltinProfile {
  const char* name;
  const char* json;
};

// The profiles compiled into the program (from link/sim/profiles/*.json).
const std::vector<BuiltinProfile>& BuiltinProfiles();

}  // namespace smb::sim
