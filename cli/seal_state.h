#pragma once
// The security mode of a gauge, read quietly through its family's exchange.

#include <optional>

#include "cli/gauge_family.h"
#include "core/program.h"

namespace cli {

enum class Seal { Sealed, Unsealed, FullAccess };

struct SealReading {
  std::optional<Seal> state;  // none: no such mode in the family, or the reserved combination
  int error = 0;              // the read's error code when it failed
};

// The bq9000 family has no security mode: nothing is read for it.
SealReading ReadSealState(core::Program& p, Family family);

// "sealed", "unsealed" or "full-access".
const char* SealName(Seal state);

}  // namespace cli
