#pragma once
// The security mode of a gauge, read quietly through its family's exchange.

#include "cli/gauge_family.h"
#include "core/program.h"

namespace cli {

using reports::Seal;
using reports::SealReading;

// A family without a security mode (the bq9000 family): nothing is read.
SealReading ReadSealState(core::Program& p, Family family);

// "sealed", "unsealed" or "full-access".
const char* SealName(Seal state);

}  // namespace cli
