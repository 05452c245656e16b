// The bq40z family as the command line and diagnose see it.

#include <cstdint>

#include "reports/bq40z/bq40z.h"
#include "reports/bq40z/internal.h"

namespace reports {

namespace bq40z_family {

namespace {

using core::Program;

constexpr int kDeviceType = 0x0001;
constexpr int kOperationStatus = 0x0054;

const char* const kNameWords[] = {"bq40z"};

int LittleEndianWord(const std::uint8_t* bytes) { return bytes[0] + 256 * bytes[1]; }

// The manufacturer block command echoes the request before its data.
PathAnswer ManufacturerBlock(Program& p, bool /*probe*/) {
  ReportBuffer receive = {};
  ManufacturerBlockRead(p, receive, kDeviceType);
  PathAnswer answer;
  answer.fits = p.status >= 2 && receive[0] == (kDeviceType & 0xFF) && receive[1] == (kDeviceType >> 8);
  if (answer.fits && p.status >= 4) answer.device_type = LittleEndianWord(p.buf);
  return answer;
}

// A reply too short to hold the byte is no reading, though no error either.
SealReading ReadSeal(Program& p) {
  std::uint8_t receive[kSealCheckBufferSize] = {};
  ManufacturerBlockRead(p, receive, kOperationStatus);
  if (p.status < 0) return {std::nullopt, p.status};
  if (p.status < 4) return {};                      // two echoed request bytes before the data
  return {SealFromSecurityBits(p.buf[1]), 0};
}

// A reply that does not echo the request is another register's.
StatusValue ReadStatus(Program& p, int subcommand, int bytes) {
  ReportBuffer receive = {};
  ManufacturerBlockRead(p, receive, subcommand);
  StatusValue value{false, p.status, 0};
  const bool echoed = p.status >= 2 && receive[0] == (subcommand & 0xFF) && receive[1] == (subcommand >> 8);
  if (!echoed || p.status < 2 + bytes) return value;
  value.read = true;
  value.value = LittleEndianValue(p.buf, bytes);
  return value;
}

constexpr Effect kOwn = Effect::Info;  // each bit as its table says

const StatusEntry kStatusRegisters[] = {
    {StatusRegister::OperationStatus, "OperationStatus", 0x0054, 4, kOperationStatusFlags, kOwn, ReadStatus, ReadStatus},
    {StatusRegister::SafetyAlert, "SafetyAlert", 0x0050, 4, kSafetyAlertFlags, Effect::Warning, ReadStatus, ReadStatus},
    {StatusRegister::SafetyStatus, "SafetyStatus", 0x0051, 4, kSafetyStatusFlags, kOwn, ReadStatus, ReadStatus},
    // PFAlert has PFStatus's bit positions.
    {StatusRegister::PFAlert, "PFAlert", 0x0052, 4, kPfStatusFlags, Effect::Warning, ReadStatus, ReadStatus},
    {StatusRegister::PFStatus, "PFStatus", 0x0053, 4, kPfStatusFlags, Effect::Permanent, ReadStatus, ReadStatus},
    {StatusRegister::ChargingStatus, "ChargingStatus", 0x0055, 3, kChargingStatusFlags, kOwn, ReadStatus, ReadStatus},
    {StatusRegister::GaugingStatus, "GaugingStatus", 0x0056, 3, kGaugingStatusFlags, kOwn, ReadStatus, ReadStatus},
    {StatusRegister::ManufacturingStatus, "ManufacturingStatus", 0x0057, 2, kManufacturingStatusFlags, kOwn,
     ReadStatus, ReadStatus},
};

const LifetimeBlock kLifetime = {0x0060, 32, ReadStatus};

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
    {Role::ChargeHeldOff, StatusRegister::ChargingStatus, 12},
    {Role::ChargeHeldOff, StatusRegister::ChargingStatus, 13},
};

}  // namespace

}  // namespace bq40z_family

const FamilyDescriptor kBq40zFamily = {
    .family = Family::bq40z,
    .name = "bq40z",
    .menu_choice = '3',
    .report = bq40z,
    .name_words = bq40z_family::kNameWords,
    .read_path = bq40z_family::ManufacturerBlock,
    .path = "manufacturer block command 0x44",
    .path_reads_device_type = true,
    .probe_rank = 0,
    .read_seal = bq40z_family::ReadSeal,
    .security_commands = true,
    .seal_command = 0x0030,
    .status_registers = bq40z_family::kStatusRegisters,
    .roles = bq40z_family::kRoles,
    .lifetime = &bq40z_family::kLifetime,
};

}  // namespace reports
