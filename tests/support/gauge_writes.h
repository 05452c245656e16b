#pragma once
// What the security and backup commands may write, checked on a bus trace:
// words to ManufacturerAccess (0x00) and two-byte requests to 0x44 only, and
// none of the ManufacturerAccess commands that shut down, reset, enter ROM
// mode, clear permanent-failure or lifetime data, toggle fuses or change keys.

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/harness.h"

namespace testing_support {

// The trace's write lines ("ww …", "wb …"), in order.
std::vector<std::string> WriteLines(const std::string& trace);

// The lines of `trace` that wrote, or were refused writing, a word that makes
// a gauge act (0x0010 to 0x004F, 0x0F00) to ManufacturerAccess, but `allowed`.
std::vector<std::string> GaugeCommandLines(const std::string& trace, int allowed = -1);

// Fails the test for every write of `trace` that these commands must never make.
void ExpectOnlyDocumentedWrites(const std::string& trace);

// The binary run in `directory` on a simulated gauge (a built-in profile's
// name, or a profile's text), its trace checked as above.
RunResult RunOnGauge(const std::filesystem::path& directory, const std::string& profile,
                     const std::vector<std::string>& args);

}  // namespace testing_support
