#pragma once
// Value rules that every report shares: capacities, the manufacture date,
// temperatures, texts from the battery and the Delta-Capacity line.

#include <cstddef>
#include <cstdint>

#include "core/program.h"

namespace reports {

// A report's pacing sleep that stands nowhere: the next operation follows at once.
constexpr int kNoSleep = -1;

// Reads BatteryMode into status, then sleeps (unless kNoSleep); 1 when its
// bit 15 says capacities are in units of 10 mWh, else 0.
int ReadCapacityMode(core::Program& p, int sleep_ms);

// "%u mAh\n", or "%u0 mWh\n" in the 10 mWh mode, in the colour already set.
void ContinueCapacity(core::Program& p, int value, int capacity_mode);

// The raw word as "%04x " in yellow, then the decoded date in cyan.
void PrintManufactureDate(core::Program& p, int word);

// Degrees Celsius of a word that counts 0.1 K, in single precision as printed.
float Celsius(int word);

// The first `count` bytes of a block buffer (none for an error code), as
// characters, then a line end, in the colour already set.
void ContinueBlockText(core::Program& p, const std::uint8_t* buffer, std::size_t capacity, int count);

// The chemistry text in tempStr up to its end and a line end, in the colour
// already set; then tempStr is cleared for the next run.
void ContinueChemistry(core::Program& p);

// Reads DesignCapacity and FullChargeCapacity and writes the capacity lost
// against the design value, in percent.
void DeltaCapacity(core::Program& p);

}  // namespace reports
