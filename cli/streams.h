#pragma once
// What the command line needs to know of its standard streams and the clock.

#include <chrono>
#include <cstdio>
#include <string>

namespace cli {

bool StandardInputIsTerminal();
bool StandardErrorIsTerminal();

// Writes all of `text` to `out`, past it stdio's buffer. A write that an
// interrupt cuts short goes on with the rest (stdio would drop it), so that
// Ctrl-C on a full pipe ends a log after a whole line.
bool WriteWhole(std::FILE* out, const std::string& text);

// ISO 8601, UTC, with milliseconds: 2026-12-07T10:01:19.072Z.
std::string IsoUtc(std::chrono::sys_time<std::chrono::milliseconds> moment);

}  // namespace cli
