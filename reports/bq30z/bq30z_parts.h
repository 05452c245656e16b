#pragma once
// Steps of the bq30z report and the two gauge exchanges they are built on.

#include <cstdint>

#include "core/program.h"

namespace reports::bq30z_parts {

// The separator between the report's sections.
inline constexpr int kNarrow = 38;

// Selects a gauge register by subcommand through ManufacturerAccess and reads
// its reply into buf at once. The count is kept in status but not used to
// limit the bytes taken: a short reply leaves older bytes in buf.
void ManufacturerData(core::Program& p, int subcommand);

// Selects gauge-memory row `row` (32 bytes at 32 * row) and reads it into buf.
void MemoryRow(core::Program& p, int row);

void BatteryStatus(core::Program& p);
void OperationStatus(core::Program& p);
void GaugingStatus(core::Program& p);
void ManufacturingStatus(core::Program& p);
void SafetyStatus(core::Program& p);
void PfStatus(core::Program& p);
void ChargingStatus(core::Program& p);
// Gauging, Manufacturing, Safety, PF and Charging Status, each with its separator.
void GaugeStatusRegisters(core::Program& p);
// Update Status, the Qmax lines and the R_a flags.
void UnsealedData(core::Program& p);
// Device Type, Firmware Version, Hardware Version and Chemistry ID.
void Identification(core::Program& p);

}  // namespace reports::bq30z_parts
