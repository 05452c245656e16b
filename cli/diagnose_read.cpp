#include "cli/diagnose_read.h"

#include "reports/smart_battery_flags.h"

namespace cli {

using core::BatteryAddress;
using core::Program;
using reports::Effect;

namespace {

constexpr int kTemperature = 0x08;
constexpr int kCurrent = 0x0A;
constexpr int kBatteryStatus = 0x16;
constexpr int kSpecificationInfo = 0x1A;
constexpr int kErrorCodeBits = 4;  // BatteryStatus bits 3 to 0
constexpr int kLifetimeWords = 9;  // cell maxima, cell minima, largest difference

// History, not state: read only where an unsealed gauge shows it.
void ReadLifetime(Program& p, const FamilyInfo& info, DiagnoseReading& reading) {
  if (info.lifetime == nullptr || !reading.seal.state || *reading.seal.state == reports::Seal::Sealed) return;
  const reports::StatusValue block = info.lifetime->read(p, info.lifetime->subcommand, info.lifetime->bytes);
  reading.lifetime_read = true;
  if (!block.read) {
    reading.lifetime_error = block.result;
    return;
  }
  for (int word = 0; word < kLifetimeWords; ++word) {
    reading.lifetime_words.push_back(static_cast<std::int16_t>(p.buf[2 * word] | p.buf[2 * word + 1] << 8));
  }
}

RegisterReading ReadBatteryStatus(Program& p) {
  const int word = p.bus.SMBReadWord(BatteryAddress, kBatteryStatus);
  reports::StatusValue value{word >= 0, word >= 0 ? 2 : word, static_cast<std::uint32_t>(word >= 0 ? word : 0)};
  return {"BatteryStatus", 2, reports::kBatteryStatusFlags, Effect::Info, value, std::nullopt};
}

}  // namespace

DiagnoseReading ReadForDiagnosis(Program& p, const std::string& family_choice) {
  DiagnoseReading reading;
  reading.device_name = ReadBatteryText(p, 0x21);
  if (const FamilyInfo* named = FamilyNamed(family_choice)) {
    reading.family = named->family;
  } else {
    reading.family = IdentifyGauge(p, reading.device_name.bytes).family;
  }
  reading.registers.push_back(ReadBatteryStatus(p));
  reading.temperature = p.bus.SMBReadWord(BatteryAddress, kTemperature);
  reading.current = p.bus.SMBReadWord(BatteryAddress, kCurrent);
  reading.specification_info = p.bus.SMBReadWord(BatteryAddress, kSpecificationInfo);
  if (reading.family) {
    const FamilyInfo& info = InfoOf(*reading.family);
    reading.seal = ReadSealState(p, *reading.family);
    const bool sealed = reading.seal.state == reports::Seal::Sealed;
    for (const reports::StatusEntry& entry : info.status_registers) {
      // A state that cannot be read is read as a sealed gauge is.
      const reports::StatusRead read = sealed || !reading.seal.state ? entry.sealed : entry.unsealed;
      reading.registers.push_back(
          {entry.name, entry.bytes, entry.flags, entry.every_bit, read(p, entry.subcommand, entry.bytes), entry.id});
    }
    ReadLifetime(p, info, reading);
  }
  reading.voltage = p.bus.SMBReadWord(BatteryAddress, 0x09);
  reading.cells = reports::FindCellVoltages(p);
  return reading;
}

std::vector<SetFlag> SetFlags(const RegisterReading& reading) {
  std::vector<SetFlag> flags;
  if (!reading.value.read) return flags;
  const int lowest = reading.id ? 0 : kErrorCodeBits;
  for (int bit = reading.bytes * 8 - 1; bit >= lowest; --bit) {
    if (((reading.value.value >> bit) & 1u) == 0) continue;
    SetFlag flag{bit, "bit " + std::to_string(bit), "not named in this program's tables", reading.every_bit};
    for (const reports::FlagName& entry : reading.flags) {
      if (entry.bit != bit) continue;
      flag.name = BareName(entry);
      flag.meaning = entry.meaning;
      if (reading.every_bit == Effect::Info) flag.effect = entry.effect;
    }
    flags.push_back(flag);
  }
  return flags;
}

const RegisterReading* Find(const DiagnoseReading& reading, reports::StatusRegister id) {
  for (const RegisterReading& reg : reading.registers) {
    if (reg.id == id) return &reg;
  }
  return nullptr;
}

}  // namespace cli
