#pragma once
// What the security and backup commands do before they write to the gauge:
// find it, show it and its security state, show the writes they are about
// to make, and ask for consent.

#include <optional>
#include <string>

#include "cli/battery_read.h"
#include "cli/gauge_family.h"
#include "cli/seal_state.h"
#include "core/program.h"

namespace cli {

// The exit status when the gauge did not reach what was asked, or the
// command was refused for this gauge or not confirmed.
inline constexpr int kExitNotDone = 1;

inline constexpr const char* kNoFamily = "no gauge family fits this battery (name one with --family)";

struct Gauge {
  BatteryText device_name;
  std::optional<Family> family;  // none: no family fits, and none was named
};

// The Device Name and the family, printed: the family as `family_choice`
// names it (bq20z, bq30z, bq40z, bq9000), or for "auto" the one the Device
// Name names, else the one detect finds.
Gauge FindGauge(core::Program& p, const std::string& family_choice);

// Reads the security state and prints it under `label`.
SealReading ShowState(core::Program& p, Family family, const char* label);

// The state as a word, or why there is none ("unknown (error -9)").
std::string StateText(const SealReading& reading);

// A label of the list, then a line of text.
void ShowRow(core::Program& p, const char* label, const std::string& text);

enum class Consent { Given, Declined, NoTerminal };

// --yes gives it; on a terminal the answer to `question` and "[y/N]" does;
// off a terminal it is not given.
Consent Ask(core::Program& p, bool yes, const std::string& question);

// The exit status of consent not given, with its diagnostic line.
int NotConfirmed(Consent consent);

// Says why the command does nothing ("...: nothing was sent"); its exit status.
int Refuse(const std::string& why);

}  // namespace cli
