#include "cli/gauge_mode.h"

namespace cli {

GaugeMode ModeOfGauge(core::Program& p, const Identification& identification) {
  if (identification.family != Family::bq9000) return GaugeMode::Normal;
  return reports::bq9000_family::ModeOf(reports::bq9000_family::ReadModeWords(p));
}

const char* ModeName(GaugeMode mode) {
  switch (mode) {
    case GaugeMode::Normal: return "normal";
    case GaugeMode::BootRom: return "boot-ROM";
    case GaugeMode::Calibration: return "calibration";
    case GaugeMode::Unknown: return "unknown";
  }
  return "unknown";
}

bool GivesNoBatteryData(GaugeMode mode) { return mode == GaugeMode::BootRom || mode == GaugeMode::Calibration; }

}  // namespace cli
