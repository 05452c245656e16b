#pragma once
// The bq40z gauge's exchanges with the host: what the report reads through,
// and what the command line reuses.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/program.h"

namespace reports::bq40z_family {

// The receive buffer of a manufacturer block read: the report owns one for
// all its reads, the seal check a smaller one of its own.
inline constexpr std::size_t kReportBufferSize = 99;
inline constexpr std::size_t kSealCheckBufferSize = 20;
using ReportBuffer = std::uint8_t[kReportBufferSize];

// Writes the two request bytes of `subcommand` to command 0x44, reads the
// reply back into `receive` and leaves its data (the reply after the two
// echoed request bytes) in buf from index 0; status gets the read's result.
// Only what `receive` holds is copied: a reply longer than it is cut at its
// end, and a reply of fewer than the two echo bytes (or an error code) leaves
// buf as the previous read left it.
void ManufacturerBlockRead(core::Program& p, std::span<std::uint8_t> receive, int subcommand);

}  // namespace reports::bq40z_family
