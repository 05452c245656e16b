#pragma once
// The bq30z report's internals: its exchanges with the gauge (protocol.h),
// its rows (tables.cpp) and the steps of the report (bq30z.cpp).

#include <span>

#include "core/program.h"
#include "reports/bq30z/protocol.h"
#include "reports/register_lines.h"
#include "reports/seal_state.h"
#include "reports/standard_lines.h"

namespace reports::bq30z_family {

// The separator between the report's sections.
inline constexpr int kNarrow = 38;

// ---- rows ----

// Smart Battery Data lines 1 to 17 (the text blocks go to buff, each followed
// by the pause the gauge needs after it), and the two lines that stand alone.
extern const StandardLine kStandardLines[17];
extern const StandardLine kSpecificationInfo[1];
extern const StandardLine kMaxError[1];

// Flag names of the status registers, with their meanings (flags.cpp).
extern const FlagName kOperationStatusFlags[30];
extern const FlagName kGaugingStatusFlags[16];
extern const FlagName kManufacturingStatusFlags[11];
extern const FlagName kSafetyStatusFlags[32];
extern const FlagName kPfStatusFlags[32];
extern const FlagName kChargingStatusFlags[18];

// The status registers; the report writes the separators between them.
extern const RegisterLine kBatteryStatus[1];
extern const RegisterLine kOperationStatus[1];
// Gauging, Manufacturing, Safety, PF and Charging Status.
extern const RegisterLine kGaugeStatusRegisters[5];
// Device Type, Firmware Version, Hardware Version and Chemistry ID.
extern const RegisterLine kIdentification[4];

// The security mode in bits 9 and 8 of Operation Status (byte 1 of the reply);
// mode 0 is reserved.
extern const SealState kSealStates[3];

extern const char* const kQmaxLabel[4];

// ---- steps ----

// Registers read through the manufacturer data read, without separators.
void PrintGaugeRegisters(core::Program& p, std::span<const RegisterLine> rows);

// Reads the security mode from Operation Status, writes it between two
// separators and records it in StUnsealDevice (mode 0 leaves it as it was).
void PrintSealUnsealDevicez30(core::Program& p);

// Gauging, Manufacturing, Safety, PF and Charging Status, each with its separator.
void PrintGaugeStatusRegisters(core::Program& p);

// Update Status, the Qmax lines and the R_a flags.
void PrintUnsealedData(core::Program& p);

}  // namespace reports::bq30z_family
