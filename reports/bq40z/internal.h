#pragma once
// The bq40z report's internals: its exchange with the gauge (protocol.h),
// its rows (tables.cpp) and the steps of the report (bq40z.cpp).

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/program.h"
#include "reports/bq40z/protocol.h"
#include "reports/register_lines.h"
#include "reports/seal_state.h"
#include "reports/standard_lines.h"

namespace reports::bq40z_family {

// The separator between the report's sections.
inline constexpr int kSeparator = 39;

// ---- rows ----

// Smart Battery Data lines 1 to 17 (row 1 takes the Design Capacity read
// right after BatteryMode; in the label-first rows the value colour is set
// before the word is read), and the two lines that stand alone.
extern const StandardLine kStandardLines[17];
extern const StandardLine kSpecificationInfo[1];
extern const StandardLine kMaxError[1];

// Flag names of the status registers, with their meanings (flags.cpp);
// SafetyAlert is read by diagnose only.
extern const FlagName kOperationStatusFlags[30];
extern const FlagName kGaugingStatusFlags[19];
extern const FlagName kManufacturingStatusFlags[12];
extern const FlagName kSafetyStatusFlags[26];
extern const FlagName kPfStatusFlags[22];
extern const FlagName kChargingStatusFlags[19];
extern const FlagName kSafetyAlertFlags[25];

// BatteryStatus, BatteryMode and OperationStatus.
extern const RegisterLine kStatusWords[3];
// GaugingStatus, ManufacturingStatus, SafetyStatus, PFStatus and ChargingStatus.
extern const RegisterLine kGaugeStatusRegisters[5];
// Device type, firmware, hardware and chemistry words.
extern const RegisterLine kIdentity[4];

// The security mode in bits 9 and 8 of OperationStatus (SEC1, SEC0); mode 0
// is reserved.
extern const SealState kSealStates[3];

// Where the Qmax data lie for one device type.
struct QmaxLayout {
  int device_type;  // -1 for any other type
  int subcommand;
  int cell[4];  // data offsets of little-endian words, cell 0 first
  int pack;
  int update_status;  // data offset of one byte
  int ra_base;
};
extern const QmaxLayout kQmaxLayouts[3];

extern const char* const kQmaxLabel[4];

// ---- steps ----

// Registers, each read as the report reads it (gauge registers through `receive`).
void PrintGaugeRegisters(core::Program& p, std::span<std::uint8_t> receive, std::span<const RegisterLine> rows);

// Finds the security mode from OperationStatus, prints it between two
// separators and records it in StUnsealDevice.
void PrintSealUnsealDevicez40(core::Program& p);

// Full access only: the unseal and full-access keys into the four key words.
void CaptureKeys(core::Program& p, std::span<std::uint8_t> receive);

// Update status, the Qmax words and the R_a flags, laid out by device type.
void QmaxSection(core::Program& p, std::span<std::uint8_t> receive);

}  // namespace reports::bq40z_family
