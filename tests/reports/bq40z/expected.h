#pragma once
// The bq40z report as it must look on the built-in bq40z50 packs, written
// from the report's texts and the packs' values.

#include <string>

namespace bq40z_expected {

enum class Pack { Unsealed, Sealed, FullAccess };

// The report's console output, from its clear screen to the final red.
std::string PackReport(Pack pack);
// The report's bus traffic.
std::string PackTrace(Pack pack);

// A manufacturer block read as the trace shows it: the request, its reply
// (echo and data bytes as " bb"), and the sleeps.
std::string MbrTrace(int subcommand, const std::string& reply_data_bytes);

}  // namespace bq40z_expected
