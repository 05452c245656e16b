#pragma once
// Whether the gauge gives battery data: a bq9000-family gauge in its boot
// ROM or in calibration mode answers with words that are not data.

#include "cli/gauge_family.h"
#include "core/program.h"
#include "reports/bq9000/protocol.h"

namespace cli {

using reports::bq9000_family::GaugeMode;

// The mode of an identified gauge, read as the bq9000 report's mode check
// reads it; the other families always count as normal.
GaugeMode ModeOfGauge(core::Program& p, const Identification& identification);

// "normal", "boot-ROM", "calibration" or "unknown".
const char* ModeName(GaugeMode mode);

// Boot-ROM and calibration mode: the gauge's words are not battery data.
bool GivesNoBatteryData(GaugeMode mode);

}  // namespace cli
