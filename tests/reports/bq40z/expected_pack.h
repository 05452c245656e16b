#pragma once
// The bq40z report as it must look on the built-in bq40z50 packs, written
// from the report's texts and the packs' values.

#include <string>

namespace bq40z_tests {

enum class Pack { Unsealed, Sealed, FullAccess };

// The report's console output, from its clear screen to the final red.
std::string PackReport(Pack pack);
// The report's bus traffic.
std::string PackTrace(Pack pack);

}  // namespace bq40z_tests
