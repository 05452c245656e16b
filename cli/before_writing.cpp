#include "cli/before_writing.h"

#include <cctype>
#include <cstdio>

#include "cli/read_text.h"
#include "cli/session.h"
#include "cli/streams.h"

namespace cli {

using core::Program;
using platform::White;
using platform::Yellow;

Gauge FindGauge(Program& p, const std::string& family_choice) {
  Gauge gauge;
  gauge.device_name = ReadBatteryText(p, 0x21);
  PrintTextRow(p.con, "Device name", gauge.device_name);
  if (const FamilyInfo* named = FamilyNamed(family_choice)) {
    gauge.family = named->family;
  } else {
    // A family that the name gives needs no probe of the gauge.
    gauge.family = FamilyInName(gauge.device_name.bytes);
    if (!gauge.family) gauge.family = IdentifyGauge(p, gauge.device_name.bytes).family;
  }
  ShowRow(p, "Family", gauge.family ? InfoOf(*gauge.family).name : "unknown");
  return gauge;
}

std::string StateText(const SealReading& reading) {
  if (reading.state) return SealName(*reading.state);
  if (reading.error < 0) return "unknown (error " + std::to_string(reading.error) + ")";
  return "unknown (no security mode in the answer)";
}

SealReading ShowState(Program& p, Family family, const char* label) {
  const SealReading reading = ReadSealState(p, family);
  ShowRow(p, label, StateText(reading));
  return reading;
}

void ShowRow(Program& p, const char* label, const std::string& text) {
  PrintLabel(p.con, label);
  p.con.Print(White, "%s\n", text.c_str());
}

Consent Ask(Program& p, bool yes, const std::string& question) {
  if (yes) return Consent::Given;
  if (!StandardInputIsTerminal()) return Consent::NoTerminal;
  p.con.Print(Yellow, "%s [y/N] ", question.c_str());
  std::string answer;
  for (int c = p.con.ReadChar(); c != EOF && c != '\n'; c = p.con.ReadChar()) {
    if (!std::isspace(c)) answer += static_cast<char>(std::tolower(c));
  }
  return answer == "y" || answer == "yes" ? Consent::Given : Consent::Declined;
}

int NotConfirmed(Consent consent) {
  if (consent == Consent::NoTerminal) {
    Complain("standard input is not a terminal, so there is no one to confirm: nothing was sent (--yes sends it)");
    return kExitUsage;
  }
  return Refuse("not confirmed");
}

int Refuse(const std::string& why) {
  Complain(why + ": nothing was sent");
  return kExitNotDone;
}

}  // namespace cli
