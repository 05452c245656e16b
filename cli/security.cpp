#include "cli/security.h"

#include <vector>

#include "cli/before_writing.h"
#include "cli/dialogue_console.h"
#include "cli/session.h"

namespace cli {

using core::Program;

namespace {

// A gauge acts on a ManufacturerAccess command in its own time: a pause
// before the state is read back, which costs a person nothing.
constexpr int kSettleMs = 100;

struct ActionRule {
  Action action;
  Seal goal;
  const char* done;  // the state asked for, in words
  const char* what;  // what was sent, in words
};

const ActionRule kRules[] = {
    {Action::Unseal, Seal::Unsealed, "unsealed", "the unseal key"},
    {Action::FullAccess, Seal::FullAccess, "in full access", "the full-access key"},
    {Action::Seal, Seal::Sealed, "sealed", "the seal command"},
};

const ActionRule& RuleOf(Action action) {
  for (const ActionRule& rule : kRules) {
    if (rule.action == action) return rule;
  }
  return kRules[2];
}

// Whether `state` is what the action asks for: full access is unsealed too.
bool Reached(Action action, Seal state) {
  if (action == Action::Unseal) return state != Seal::Sealed;
  return state == RuleOf(action).goal;
}

std::string FailureText(Action action, Family family, const SealReading& after) {
  if (!after.state) return "the security state cannot be read back: " + StateText(after);
  std::string text = "the gauge did not take " + std::string(RuleOf(action).what) + ": it is still " +
                     SealName(*after.state);
  const FamilyInfo& info = InfoOf(family);
  if (info.wrong_key_lockout_s > 0 && action != Action::Seal) {
    text += std::string("; a ") + info.name + " ignores every key for " + std::to_string(info.wrong_key_lockout_s) +
            " s after a wrong one, so wait before trying again";
  }
  return text;
}

}  // namespace

int Access(Program& p, const AccessOptions& options) {
  DialogueConsole shown(p.con, WillAsk(options.yes));
  const Gauge gauge = FindGauge(p, shown, options.family);
  if (!gauge.family) return RefuseFamily(gauge);
  const Family family = *gauge.family;
  if (!InfoOf(family).security_commands) {
    return Refuse(std::string("security commands are not supported for the ") + InfoOf(family).name +
                  " family (its procedures differ)");
  }
  const SealReading before = ShowState(p, shown, family, "Security state");
  if (!before.state) return Refuse("the security state cannot be read", kOnlyStateRead);
  const ActionRule& rule = RuleOf(options.action);
  if (Reached(options.action, *before.state)) {
    ShowRow(shown, "Nothing to do", std::string("the gauge is already ") + rule.done);
    return kExitSuccess;
  }
  if (options.action == Action::FullAccess && *before.state == Seal::Sealed) {
    return Refuse("a sealed gauge takes no full-access key (unseal it first: vantrel unseal --key KEY)",
                  kOnlyStateRead);
  }

  const std::vector<GaugeWrite> writes = PlannedWrites(options.action, family, options.key);
  for (std::size_t n = 0; n < writes.size(); ++n) ShowRow(shown, n == 0 ? "Bus writes" : "", writes[n].TraceText());
  const Consent consent = Ask(shown, options.yes, writes.size() == 1 ? "Send this write?" : "Send these writes?");
  if (consent != Consent::Given) return NotConfirmed(consent);
  for (const GaugeWrite& write : writes) {
    if (const int result = write.Send(p); result < 0) {
      Complain(write.TraceText() + " failed (error " + std::to_string(result) + "): nothing more was sent");
      break;
    }
  }
  p.Sleep(kSettleMs);
  const SealReading after = ShowState(p, p.con, family, "Security state now");
  if (after.state && Reached(options.action, *after.state)) return kExitSuccess;
  Complain(FailureText(options.action, family, after));
  return kExitNotDone;
}

}  // namespace cli
