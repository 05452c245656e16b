#include "cli/diagnose_rules.h"

#include <algorithm>
#include <string_view>

namespace cli {

using reports::Effect;
using reports::Role;
using reports::StatusRegister;

namespace {

constexpr const char* kNoFault = "No fault: charging and discharging are allowed.";

// Codes of the rules that only inform: they never make the verdict.
constexpr std::string_view kInformation[] = {"not_read", "battery_status", "sealed"};
// Codes of the rules that find charging or discharging blocked, a permanent
// failure, or nothing known: any of them makes the exit status 3. A warning
// and a factory configuration block nothing by themselves.
constexpr std::string_view kBlocking[] = {"unreadable",         "permanent_failure", "charge_disabled", "discharge_disabled",
                                     "protection_tripped", "fet_off",           "charge_held_off"};

struct EffectWords {
  Effect effect;
  const char* text;
  const char* code;
};

const EffectWords kEffects[] = {
    {Effect::Info, "information", "info"},
    {Effect::Warning, "warning, no action yet", "warning"},
    {Effect::BlocksCharge, "blocks charging", "blocks_charge"},
    {Effect::BlocksDischarge, "blocks discharging", "blocks_discharge"},
    {Effect::MayBlockCharge, "may block charging", "may_block_charge"},
    {Effect::MayBlockDischarge, "may block discharging", "may_block_discharge"},
    {Effect::MayBlockBoth, "may block charging and discharging", "may_block_both"},
    {Effect::Permanent, "permanent failure", "permanent"},
};

const EffectWords& WordsOf(Effect effect) {
  for (const EffectWords& words : kEffects) {
    if (words.effect == effect) return words;
  }
  return kEffects[0];
}

// How a tripped protection recovers, where the maker says it; latched
// protections need more than their condition gone.
struct Recovery {
  const char* name;
  const char* text;
};
const Recovery kRecoveries[] = {
    {"OCC1", "it clears when the charge current stays below the recovery threshold for the recovery delay"},
    {"OCC2", "it clears when the charge current stays below the recovery threshold for the recovery delay"},
    {"UTD", "it clears when the temperature is back above the UTD recovery temperature"},
    {"AOLDL", "it is latched: its recovery may need more than the condition gone"},
    {"ASCCL", "it is latched: its recovery may need more than the condition gone"},
    {"ASCDL", "it is latched: its recovery may need more than the condition gone"},
    {"COVL", "it is latched: its recovery may need more than the condition gone"},
    {"OCDL", "it is latched: its recovery may need more than the condition gone"},
};

const char* RecoveryOf(const std::string& name) {
  for (const Recovery& recovery : kRecoveries) {
    if (name == recovery.name) return recovery.text;
  }
  return "it may clear when the condition recovers";
}

bool Charging(Effect effect) {
  return effect == Effect::BlocksCharge || effect == Effect::MayBlockCharge || effect == Effect::MayBlockBoth;
}
bool Discharging(Effect effect) {
  return effect == Effect::BlocksDischarge || effect == Effect::MayBlockDischarge || effect == Effect::MayBlockBoth;
}

// "a", "a and b", "a, b and c".
std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (std::size_t n = 0; n < parts.size(); ++n) {
    if (n > 0) text += n + 1 == parts.size() ? " and " : ", ";
    text += parts[n];
  }
  return text;
}

// "cell overvoltage (COV)", joined.
std::string Named(const std::vector<SetFlag>& flags) {
  std::vector<std::string> parts;
  for (const SetFlag& flag : flags) parts.push_back(std::string(flag.meaning) + " (" + flag.name + ")");
  return Joined(parts);
}

// The registers without which no verdict can be given: those that show a
// block or a permanent failure. The alerts, GaugingStatus and
// ManufacturingStatus only warn or inform.
constexpr StatusRegister kDecisive[] = {StatusRegister::OperationStatus, StatusRegister::SafetyStatus,
                                        StatusRegister::PFStatus, StatusRegister::ChargingStatus};

template <typename Value, std::size_t N>
bool OneOf(const Value& value, const Value (&values)[N]) {
  return std::find(std::begin(values), std::end(values), value) != std::end(values);
}

class Rules {
 public:
  explicit Rules(const DiagnoseReading& reading) : reading_(reading) {}

  void Fire(const char* code, std::string text) { fired_.push_back({code, std::move(text)}); }
  std::vector<FiredRule> Fired() { return std::move(fired_); }

  std::vector<SetFlag> FlagsOf(StatusRegister id) const {
    const RegisterReading* reg = Find(reading_, id);
    return reg ? SetFlags(*reg) : std::vector<SetFlag>{};
  }

  // Whether the family keeps a bit for the role (read), and whether one is set.
  struct RoleState {
    bool known = false;
    bool set = false;
  };
  RoleState StateOf(Role role) const {
    RoleState state;
    for (const reports::RoleBit& bit : InfoOf(*reading_.family).roles) {
      if (bit.role != role) continue;
      const RegisterReading* reg = Find(reading_, bit.in);
      if (reg == nullptr || !reg->value.read) continue;
      state.known = true;
      state.set = state.set || ((reg->value.value >> bit.bit) & 1u) != 0;
    }
    return state;
  }

  // The flags of a role's bits that are set.
  std::vector<SetFlag> RoleFlags(Role role) const {
    std::vector<SetFlag> flags;
    for (const reports::RoleBit& bit : InfoOf(*reading_.family).roles) {
      if (bit.role != role) continue;
      for (const SetFlag& flag : FlagsOf(bit.in)) {
        if (flag.bit == bit.bit) flags.push_back(flag);
      }
    }
    return flags;
  }

 private:
  const DiagnoseReading& reading_;
  std::vector<FiredRule> fired_;
};

void Unreadable(Rules& rules, const DiagnoseReading& reading) {
  if (!reading.family) {
    rules.Fire("unreadable", "No gauge family fits this battery: its status registers cannot be read (name one with "
                             "--family).");
    return;
  }
  if (InfoOf(*reading.family).status_registers.empty()) {
    rules.Fire("unreadable", std::string("The status registers of the ") + InfoOf(*reading.family).name +
                                 " family are not known: nothing can be said about its protections.");
  }
  std::vector<std::string> needed;  // registers whose bits block charging or discharging
  std::vector<std::string> others;
  for (const RegisterReading& reg : reading.registers) {
    if (reg.value.read) continue;
    const std::string failed = std::string(reg.name) + (reg.value.result < 0
                                                            ? " (error " + std::to_string(reg.value.result) + ")"
                                                            : " (short reply)");
    const bool blocks = reg.id && OneOf(*reg.id, kDecisive);
    (blocks ? needed : others).push_back(failed);
  }
  if (!needed.empty()) {
    rules.Fire("unreadable", "Status not readable: " + Joined(needed) +
                                 ". Whether a protection has tripped is unknown; this is not a \"no fault\".");
  }
  if (!others.empty()) rules.Fire("not_read", "Not read: " + Joined(others) + "; what they would show is unknown.");
}

void PermanentFailure(Rules& rules) {
  std::vector<SetFlag> failures = rules.FlagsOf(StatusRegister::PFStatus);
  if (failures.empty()) failures = rules.RoleFlags(Role::PermanentFailure);
  if (failures.empty()) return;
  rules.Fire("permanent_failure", "Permanent failure: " + Named(failures) +
                                      ". The gauge may keep the pack off; it needs service and will not recover by "
                                      "charging.");
}

void Disabled(Rules& rules, Role role, bool (*concerns)(Effect), const char* code, const char* what) {
  if (!rules.StateOf(role).set) return;
  std::vector<SetFlag> tripped = rules.FlagsOf(StatusRegister::SafetyStatus);
  std::vector<SetFlag> related;
  std::copy_if(tripped.begin(), tripped.end(), std::back_inserter(related),
               [concerns](const SetFlag& flag) { return concerns(flag.effect); });
  if (!related.empty()) tripped = related;
  std::string text = std::string(what) + " is disabled by the gauge";
  if (tripped.size() == 1) {
    text += ": " + Named(tripped) + " has tripped; " + RecoveryOf(tripped[0].name) + ".";
  } else if (!tripped.empty()) {
    text += ": " + Named(tripped) + " have tripped; each may clear when its condition recovers.";
  } else {
    text += ".";
  }
  rules.Fire(code, text);
}

void Tripped(Rules& rules) {
  for (const SetFlag& flag : rules.FlagsOf(StatusRegister::SafetyStatus)) {
    std::string text = std::string(flag.meaning) + " (" + flag.name + ") has tripped; " + RecoveryOf(flag.name) + ".";
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    rules.Fire("protection_tripped", text);
  }
}

void Alerts(Rules& rules) {
  const std::pair<StatusRegister, StatusRegister> pairs[] = {
      {StatusRegister::SafetyAlert, StatusRegister::SafetyStatus}, {StatusRegister::PFAlert, StatusRegister::PFStatus}};
  for (const auto& [alert, status] : pairs) {
    const std::vector<SetFlag> near = rules.FlagsOf(alert);
    if (near.empty() || !rules.FlagsOf(status).empty()) continue;
    rules.Fire("alert", "Warning: " + Named(near) + (near.size() == 1 ? " is" : " are") +
                            " near the limit; the gauge has taken no action yet.");
  }
}

void FactoryConfiguration(Rules& rules) {
  const std::pair<Role, const char*> enables[] = {{Role::FetControl, "firmware FET control"},
                                                  {Role::PermanentFailureEnabled, "permanent failure protections"},
                                                  {Role::GaugingEnabled, "gauging"}};
  std::vector<std::string> off;
  for (const auto& [role, what] : enables) {
    const Rules::RoleState state = rules.StateOf(role);
    if (state.known && !state.set) off.push_back(what);
  }
  if (off.empty()) return;
  rules.Fire("factory_configuration",
             "Pack still in factory configuration: " + Joined(off) + " disabled (ManufacturingStatus).");
}

// No maker's text says why a FET is off without a fault: this rule says "may".
void FetOff(Rules& rules) {
  const Rules::RoleState charge = rules.StateOf(Role::ChargeFetOn);
  const Rules::RoleState discharge = rules.StateOf(Role::DischargeFetOn);
  const char* off = nullptr;
  if (charge.known && !charge.set) off = discharge.known && !discharge.set ? "The charge and discharge FETs are" : "The charge FET is";
  else if (discharge.known && !discharge.set) off = "The discharge FET is";
  if (off == nullptr || rules.StateOf(Role::PermanentFailure).set || rules.StateOf(Role::ChargeDisabled).set ||
      rules.StateOf(Role::DischargeDisabled).set || !rules.FlagsOf(StatusRegister::SafetyStatus).empty()) {
    return;
  }
  rules.Fire("fet_off", std::string(off) +
                            " off without a fault: the pack may be asleep, shut down or in factory configuration "
                            "(see ManufacturingStatus FET, OperationStatus SDM, SDV, PRES).");
}

void HeldOff(Rules& rules) {
  const std::vector<SetFlag> held = rules.RoleFlags(Role::ChargeHeldOff);
  if (held.empty()) return;
  rules.Fire("charge_held_off", "Charging may be held off: " + Named(held) + "; the charger's request may be 0.");
}

struct StatusAlarm {
  const char* name;
  const char* text;
};
const StatusAlarm kStatusAlarms[] = {
    {"OCA", "BatteryStatus OCA: the pack is over-charged."},
    {"TCA", "BatteryStatus TCA: the charger should stop charging."},
    {"OTA", "BatteryStatus OTA: the pack is over temperature."},
    {"TDA", "BatteryStatus TDA: the host should stop discharging."},
    {"FD", "BatteryStatus FD: the pack is empty."},
    {"RCA", "BatteryStatus RCA: low remaining capacity (information)."},
    {"RTA", "BatteryStatus RTA: low remaining time (information)."},
};

void BatteryStatusAlarms(Rules& rules, const DiagnoseReading& reading) {
  const RegisterReading& status = reading.registers.front();
  if (!status.value.read) return;
  for (const SetFlag& flag : SetFlags(status)) {
    for (const StatusAlarm& alarm : kStatusAlarms) {
      if (flag.name == alarm.name) rules.Fire("battery_status", alarm.text);
    }
  }
  if (const int code = status.value.value & 0x0F; code != 0) {
    rules.Fire("battery_status", "BatteryStatus error code " + std::to_string(code) + ": the last command failed.");
  }
}

void Sealed(Rules& rules, const DiagnoseReading& reading) {
  if (reading.seal.state != reports::Seal::Sealed) return;
  rules.Fire("sealed", "Sealed: the detail may be limited to what a sealed gauge answers.");
}

}  // namespace

Diagnosis Judge(const DiagnoseReading& reading) {
  Rules rules(reading);
  Unreadable(rules, reading);
  if (reading.family) {
    PermanentFailure(rules);
    Disabled(rules, Role::ChargeDisabled, Charging, "charge_disabled", "Charging");
    Disabled(rules, Role::DischargeDisabled, Discharging, "discharge_disabled", "Discharging");
    Tripped(rules);
    Alerts(rules);
    FactoryConfiguration(rules);
    FetOff(rules);
    HeldOff(rules);
  }
  BatteryStatusAlarms(rules, reading);
  Sealed(rules, reading);

  Diagnosis diagnosis{"ok", kNoFault, rules.Fired()};
  for (const FiredRule& rule : diagnosis.rules) {
    if (OneOf(std::string_view(rule.code), kInformation)) continue;
    diagnosis.verdict = rule.code;
    diagnosis.text = rule.text;
    break;
  }
  return diagnosis;
}

bool NothingBlocks(const Diagnosis& diagnosis) {
  return std::none_of(diagnosis.rules.begin(), diagnosis.rules.end(),
                      [](const FiredRule& rule) { return OneOf(std::string_view(rule.code), kBlocking); });
}

const char* EffectText(Effect effect) { return WordsOf(effect).text; }
const char* EffectCode(Effect effect) { return WordsOf(effect).code; }

}  // namespace cli
