#pragma once
// The bq20z status words decoded into flag names, the FET line and the
// version words.

#include "core/program.h"

namespace reports {

void PrintBatteryStatus20z(core::Program& p);
void PrintBatteryModeFlags20z(core::Program& p);
// Ends with the flag line: the seal check brings its own separator.
void PrintOperationStatus20z(core::Program& p);
// Safety Status, PF Status and Charging Status, each with its separator.
void PrintSafetyPfChargingStatus20z(core::Program& p);
// The form of the line follows StUnsealDevice.
void PrintFetControl20z(core::Program& p);
// Device type, firmware, hardware and chemistry id, then a separator.
void PrintVersions20z(core::Program& p);

}  // namespace reports
