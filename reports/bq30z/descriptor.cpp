// The bq30z family as the command line and diagnose see it.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "reports/bq30z/bq30z.h"
#include "reports/bq30z/internal.h"

namespace reports {

namespace bq30z_family {

namespace {

using core::Program;

constexpr int kDeviceType = 0x0001;
constexpr int kFirmwareVersion = 0x0002;
constexpr int kOperationStatus = 0x0054;

const char* const kNameWords[] = {"bq30z"};

int LittleEndianWord(const std::uint8_t* bytes) { return bytes[0] + 256 * bytes[1]; }

// A register selected through ManufacturerAccess, read from
// ManufacturerData. A battery whose block 0x23 does not depend on the
// selection does not fit.
PathAnswer ManufacturerDataPath(Program& p, bool probe) {
  ManufacturerData(p, kDeviceType);
  if (p.status < 2) return {};
  PathAnswer answer{true, LittleEndianWord(p.buf)};
  if (!probe) return answer;
  const std::vector<std::uint8_t> device_type(p.buf, p.buf + std::min<int>(p.status, sizeof p.buf));
  ManufacturerData(p, kFirmwareVersion);
  const std::vector<std::uint8_t> firmware(p.buf, p.buf + std::min<int>(std::max(p.status, 0), sizeof p.buf));
  answer.fits = p.status >= 0 && firmware != device_type;
  return answer;
}

// A reply too short to hold the byte is no reading, though no error either.
SealReading ReadSeal(Program& p) {
  ManufacturerData(p, kOperationStatus);
  if (p.status < 0) return {std::nullopt, p.status};
  if (p.status < 2) return {};
  return {SealFromSecurityBits(p.buf[1]), 0};
}

StatusValue ReadStatus(Program& p, int subcommand, int bytes) {
  ManufacturerData(p, subcommand);
  if (p.status < bytes) return {false, p.status, 0};
  return {true, p.status, LittleEndianValue(p.buf, bytes)};
}

constexpr Effect kOwn = Effect::Info;  // each bit as its table says

// The alerts are read with their status register's names.
const StatusEntry kStatusRegisters[] = {
    {StatusRegister::OperationStatus, "OperationStatus", 0x0054, 4, kOperationStatusFlags, kOwn, ReadStatus, ReadStatus},
    {StatusRegister::SafetyAlert, "SafetyAlert", 0x0050, 4, kSafetyStatusFlags, Effect::Warning, ReadStatus, ReadStatus},
    {StatusRegister::SafetyStatus, "SafetyStatus", 0x0051, 4, kSafetyStatusFlags, kOwn, ReadStatus, ReadStatus},
    {StatusRegister::PFAlert, "PFAlert", 0x0052, 4, kPfStatusFlags, Effect::Warning, ReadStatus, ReadStatus},
    {StatusRegister::PFStatus, "PFStatus", 0x0053, 4, kPfStatusFlags, Effect::Permanent, ReadStatus, ReadStatus},
    {StatusRegister::ChargingStatus, "ChargingStatus", 0x0055, 3, kChargingStatusFlags, kOwn, ReadStatus, ReadStatus},
    {StatusRegister::GaugingStatus, "GaugingStatus", 0x0056, 2, kGaugingStatusFlags, kOwn, ReadStatus, ReadStatus},
    {StatusRegister::ManufacturingStatus, "ManufacturingStatus", 0x0057, 2, kManufacturingStatusFlags, kOwn,
     ReadStatus, ReadStatus},
};

const RoleBit kRoles[] = {
    {Role::PermanentFailure, StatusRegister::OperationStatus, 12},
    {Role::ChargeDisabled, StatusRegister::OperationStatus, 14},
    {Role::DischargeDisabled, StatusRegister::OperationStatus, 13},
    {Role::ChargeFetOn, StatusRegister::OperationStatus, 2},
    {Role::DischargeFetOn, StatusRegister::OperationStatus, 1},
    {Role::FetControl, StatusRegister::ManufacturingStatus, 4},
    {Role::PermanentFailureEnabled, StatusRegister::ManufacturingStatus, 6},
    {Role::GaugingEnabled, StatusRegister::ManufacturingStatus, 3},
    {Role::ChargeHeldOff, StatusRegister::ChargingStatus, 0},
    {Role::ChargeHeldOff, StatusRegister::ChargingStatus, 6},
    {Role::ChargeHeldOff, StatusRegister::ChargingStatus, 11},
    {Role::ChargeHeldOff, StatusRegister::ChargingStatus, 12},
};

}  // namespace

}  // namespace bq30z_family

// Its security procedures differ from the bq40z's and the bq20z's: the
// security commands refuse it.
const FamilyDescriptor kBq30zFamily = {
    .family = Family::bq30z,
    .name = "bq30z",
    .menu_choice = '2',
    .report = bq30z,
    .name_words = bq30z_family::kNameWords,
    .read_path = bq30z_family::ManufacturerDataPath,
    .path = "ManufacturerAccess 0x00 and ManufacturerData 0x23",
    .path_reads_device_type = true,
    .probe_rank = 2,
    .read_seal = bq30z_family::ReadSeal,
    .status_registers = bq30z_family::kStatusRegisters,
    .roles = bq30z_family::kRoles,
};

}  // namespace reports
