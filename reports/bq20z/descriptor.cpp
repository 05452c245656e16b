// The bq20z family as the command line and diagnose see it.

#include "reports/bq20z/bq20z.h"
#include "reports/bq20z/internal.h"

namespace reports {

namespace bq20z_family {

namespace {

using core::Program;

constexpr int kDeviceType = 0x0001;
constexpr int kFirmwareVersion = 0x0002;
constexpr int kOperationStatus = 0x0054;

const char* const kNameWords[] = {"bq20z"};

// The register's word read back from ManufacturerAccess itself. A battery
// that answers the same word whatever was selected, or echoes the
// selection, does not fit.
PathAnswer ManufacturerAccess(Program& p, bool probe) {
  const int device_type = ManufacturerAccessRead(p, kDeviceType, PauseBeforeRead::OneMillisecond);
  if (device_type < 0) return {};
  PathAnswer answer{true, device_type};
  if (!probe) return answer;
  const int firmware = ManufacturerAccessRead(p, kFirmwareVersion, PauseBeforeRead::OneMillisecond);
  const bool echo = device_type == kDeviceType && firmware == kFirmwareVersion;
  answer.fits = firmware >= 0 && firmware != device_type && !echo;
  return answer;
}

// Bits 14 and 13 (FAS, SS) of OperationStatus.
std::optional<Seal> FromFasSs(int word) {
  switch (word & kSealBits) {
    case 0x6000: return Seal::Sealed;
    case 0x4000: return Seal::Unsealed;
    case 0x0000: return Seal::FullAccess;
    default: return std::nullopt;  // reserved
  }
}

SealReading ReadSeal(Program& p) {
  const int word = ManufacturerAccessRead(p, kOperationStatus, PauseBeforeRead::OneMillisecond);
  if (word < 0) return {std::nullopt, word};
  return {FromFasSs(word), 0};
}

// Always through ManufacturerAccess: sealed, a direct read of 0x50 to 0x55
// can answer with the last ManufacturerAccess word instead of an error.
StatusValue ReadStatus(Program& p, int subcommand, int /*bytes*/) {
  const int word = ManufacturerAccessRead(p, subcommand, PauseBeforeRead::OneMillisecond);
  if (word < 0) return {false, word, 0};
  return {true, 2, static_cast<std::uint32_t>(word & 0xFFFF)};
}

constexpr Effect kOwn = Effect::Info;  // each bit as its table says

const StatusEntry kStatusRegisters[] = {
    {StatusRegister::OperationStatus, "OperationStatus", 0x0054, 2, kOperationStatusFlags, kOwn, ReadStatus, ReadStatus},
    // The alerts have their status register's layout.
    {StatusRegister::SafetyAlert, "SafetyAlert", 0x0050, 2, kSafetyStatusFlags, Effect::Warning, ReadStatus, ReadStatus},
    {StatusRegister::SafetyStatus, "SafetyStatus", 0x0051, 2, kSafetyStatusFlags, kOwn, ReadStatus, ReadStatus},
    {StatusRegister::PFAlert, "PFAlert", 0x0052, 2, kPfStatusFlags, Effect::Warning, ReadStatus, ReadStatus},
    {StatusRegister::PFStatus, "PFStatus", 0x0053, 2, kPfStatusFlags, Effect::Permanent, ReadStatus, ReadStatus},
    {StatusRegister::ChargingStatus, "ChargingStatus", 0x0055, 2, kChargingStatusFlags, kOwn, ReadStatus, ReadStatus},
};

const RoleBit kRoles[] = {
    {Role::PermanentFailure, StatusRegister::SafetyStatus, 5},
    {Role::ChargeDisabled, StatusRegister::ChargingStatus, 15},
    {Role::DischargeDisabled, StatusRegister::OperationStatus, 5},
    {Role::ChargeHeldOff, StatusRegister::ChargingStatus, 14},
};

}  // namespace

}  // namespace bq20z_family

const FamilyDescriptor kBq20zFamily = {
    .family = Family::bq20z,
    .name = "bq20z",
    .menu_choice = '1',
    .report = bq20z,
    .name_words = bq20z_family::kNameWords,
    .read_path = bq20z_family::ManufacturerAccess,
    .path = "ManufacturerAccess 0x00",
    .path_reads_device_type = true,
    .probe_rank = 3,
    .read_seal = bq20z_family::ReadSeal,
    .security_commands = true,
    .seal_command = 0x0020,
    .wrong_key_lockout_s = 4,
    .status_registers = bq20z_family::kStatusRegisters,
    .roles = bq20z_family::kRoles,
};

}  // namespace reports
