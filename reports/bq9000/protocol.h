#pragma once
// The bq9000-family gauge's exchanges with the host: what the report reads through,
// and what the command line reuses.

#include "core/program.h"

namespace reports::bq9000_family {

// The two words that tell the gauge's mode: 0x72, answered only in normal
// mode (0) and in calibration mode (0x1111), and, when 0x72 is not answered,
// the state of charge 0x0D (a percentage, or the boot ROM's version word).
struct ModeWords {
  int word72;
  int word0d;  // 0 when not read
};
ModeWords ReadModeWords(core::Program& p);

// Whether the mode words are this family's own: 0x72 answered as only its
// gauges answer it, or a boot ROM's version word in 0x0D. A plain state of
// charge in 0x0D says nothing about the family.
bool ModeWordsIdentifyFamily(const ModeWords& words);

// The mode that the report's mode check finds. In boot-ROM and calibration
// mode the gauge's words are not battery data.
enum class GaugeMode { Normal, BootRom, Calibration, Unknown };
GaugeMode ModeOf(const ModeWords& words);

}  // namespace reports::bq9000_family
