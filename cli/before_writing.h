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

struct Gauge {
  BatteryText device_name;
  std::optional<Family> family;  // none: see `problem`
  std::string problem;
};

// The Device Name read and shown on `shown`, and the family: the one that
// `family_choice` names (bq20z, bq30z, bq40z, bq9000) or, for "auto", the one
// the Device Name names. Never found by probing: detect's probes write to
// the gauge. None when neither names one, or when they name different ones.
Gauge FindGauge(core::Program& p, platform::Console& shown, const std::string& family_choice);

// Says why there is no family; the exit status of a usage error.
int RefuseFamily(const Gauge& gauge);

// Reads the security state and prints it under `label`.
SealReading ShowState(core::Program& p, platform::Console& shown, Family family, const char* label);

// The state as a word, or why there is none ("unknown (error -9)").
std::string StateText(const SealReading& reading);

// A label of the list, then a line of text.
void ShowRow(platform::Console& shown, const char* label, const std::string& text);

// Whether Ask will put its question at the terminal.
bool WillAsk(bool yes);

enum class Consent { Given, Declined, NoTerminal };

// --yes gives it; on a terminal the answer to `question` and "[y/N]" does;
// off a terminal it is not given.
Consent Ask(platform::Console& shown, bool yes, const std::string& question);

// The exit status of consent not given, with its diagnostic line.
int NotConfirmed(Consent consent);

// What a refusal says was sent: nothing, or nothing but the state read,
// which on a bq40z and a bq20z is itself a write (of the request 0x0054).
inline constexpr const char* kNothingSent = "nothing was sent";
inline constexpr const char* kOnlyStateRead = "nothing was sent but the state read";

// Says why the command does nothing ("...: nothing was sent"); its exit status.
int Refuse(const std::string& why, const char* sent = kNothingSent);

}  // namespace cli
