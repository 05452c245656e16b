#pragma once
// What the command line needs to know of its standard streams and the clock.

#include <chrono>
#include <string>

namespace cli {

bool StandardInputIsTerminal();
bool StandardErrorIsTerminal();

// ISO 8601, UTC, with milliseconds: 2026-12-07T10:01:19.072Z.
std::string IsoUtc(std::chrono::sys_time<std::chrono::milliseconds> moment);

}  // namespace cli
