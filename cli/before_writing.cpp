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

Gauge FindGauge(Program& p, platform::Console& shown, const std::string& family_choice) {
  Gauge gauge;
  gauge.device_name = ReadBatteryText(p, 0x21);
  PrintTextRow(shown, "Device name", gauge.device_name);
  const std::optional<Family> in_name = FamilyInName(gauge.device_name.bytes);
  const FamilyInfo* chosen = FamilyNamed(family_choice);
  if (chosen != nullptr && in_name && *in_name != chosen->family) {
    gauge.problem = std::string("--family ") + chosen->name + " contradicts the Device Name, which names the " +
                    InfoOf(*in_name).name + " family";
    return gauge;
  }
  gauge.family = chosen != nullptr ? std::optional<Family>(chosen->family) : in_name;
  if (!gauge.family) {
    gauge.problem = "the Device Name names no gauge family: give it with --family (vantrel detect shows the likely one)";
    return gauge;
  }
  ShowRow(shown, "Family", InfoOf(*gauge.family).name);
  return gauge;
}

int RefuseFamily(const Gauge& gauge) {
  Complain(gauge.problem + ": " + kNothingSent);
  return kExitUsage;
}

std::string StateText(const SealReading& reading) {
  if (reading.state) return SealName(*reading.state);
  if (reading.error < 0) return "unknown (error " + std::to_string(reading.error) + ")";
  return "unknown (no security mode in the answer)";
}

SealReading ShowState(Program& p, platform::Console& shown, Family family, const char* label) {
  const SealReading reading = ReadSealState(p, family);
  ShowRow(shown, label, StateText(reading));
  return reading;
}

void ShowRow(platform::Console& shown, const char* label, const std::string& text) {
  PrintLabel(shown, label);
  shown.Print(White, "%s\n", text.c_str());
}

bool WillAsk(bool yes) { return !yes && StandardInputIsTerminal(); }

Consent Ask(platform::Console& shown, bool yes, const std::string& question) {
  if (yes) return Consent::Given;
  if (!StandardInputIsTerminal()) return Consent::NoTerminal;
  shown.Print(Yellow, "%s [y/N] ", question.c_str());
  shown.Flush();
  std::string answer;
  for (int c = shown.ReadChar(); c != EOF && c != '\n'; c = shown.ReadChar()) {
    if (!std::isspace(c)) answer += static_cast<char>(std::tolower(c));
  }
  return answer == "y" || answer == "yes" ? Consent::Given : Consent::Declined;
}

int NotConfirmed(Consent consent) {
  if (consent == Consent::NoTerminal) {
    Complain(std::string("standard input is not a terminal, so there is no one to confirm: ") + kOnlyStateRead +
             " (--yes sends the writes)");
    return kExitUsage;
  }
  return Refuse("not confirmed", kOnlyStateRead);
}

int Refuse(const std::string& why, const char* sent) {
  Complain(why + ": " + sent);
  return kExitNotDone;
}

}  // namespace cli
