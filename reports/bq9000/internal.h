#pragma once
// The bq9000-family report's internals: its exchange with the gauge
// (protocol.cpp), its rows (tables.cpp) and the steps of the report (bq9000.cpp).

#include <climits>

#include "core/program.h"
#include "reports/bq9000/protocol.h"
#include "reports/register_lines.h"
#include "reports/standard_lines.h"

namespace reports::bq9000_family {

// What a read the gauge does not answer returns.
inline constexpr int kNoReply = smb::kNotAcknowledged;

// ---- rows ----

// Which line the mode detection writes.
enum class DetectionLine { None, Word72, Word0D, BootRomWord };

// The first row that matches the mode words decides BootRom and the line.
struct ModeRule {
  int word72;        // kAnyOther: any value no earlier row matched
  int min0d, max0d;  // word 0x0D range, looked at only when word 0x72 is not answered
  int boot_rom;
  DetectionLine line;
};
inline constexpr int kAnyOther = INT_MIN;
extern const ModeRule kModeRules[9];
// The first row that matches (the last rows match anything).
const ModeRule& MatchModeRule(const ModeWords& words);

// The mode line for each BootRom value, and whether the report goes on.
struct ModeLine {
  int boot_rom;
  const char* prefix;
  const char* name;
  bool report_goes_on;
};
extern const ModeLine kModeLines[5];

// Rows 1 to 17 (row 1 takes the Design Capacity read right after
// BatteryMode; in the label-first rows the value colour is set before the
// word is read), and the two lines that stand alone.
extern const StandardLine kStandardLines[17];
extern const StandardLine kSpecificationInfo[1];
extern const StandardLine kMaxError[1];

// BatteryStatus, BatteryMode and the ManufacturerAccess state word.
extern const RegisterLine kStatusSection[3];

// ---- steps ----

// BatteryStatus, BatteryMode and the ManufacturerAccess state word, each with
// its decoding, ended by a separator.
void StatusSection(core::Program& p);

}  // namespace reports::bq9000_family
