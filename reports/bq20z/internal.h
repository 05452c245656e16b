#pragma once
// The bq20z report's internals: its exchanges with the gauge (protocol.h),
// its rows (tables.cpp) and the steps of the report (bq20z.cpp).

#include <cstdint>
#include <span>

#include "core/program.h"
#include "reports/bq20z/protocol.h"
#include "reports/register_lines.h"
#include "reports/seal_state.h"
#include "reports/standard_lines.h"

namespace reports::bq20z_family {

// ---- rows ----

// Smart Battery Data lines 1 to 17, and the two lines that stand alone.
extern const StandardLine kStandardLines[17];
extern const StandardLine kSpecificationInfo[1];
extern const StandardLine kMaxError[1];

// Flag names of the status registers, with their meanings (flags.cpp).
extern const FlagName kOperationStatusFlags[13];
extern const FlagName kSafetyStatusFlags[16];
extern const FlagName kPfStatusFlags[15];
extern const FlagName kChargingStatusFlags[16];

// Battery Status, BatteryMode (words) and Operation Status (read after a pause).
extern const RegisterLine kStatusWords[3];
// Safety, PF and Charging Status (read at once), each with its separator.
extern const RegisterLine kProtectionRegisters[3];
// Device type, firmware, hardware and chemistry id (read after a pause).
extern const RegisterLine kVersionWords[4];

// Operation Status bits 14 (FAS) and 13 (SS); the fourth combination (SS
// without FAS) is reserved.
inline constexpr int kSealBits = 0x6000;
extern const SealState kSealStates[3];

// A key block's line: its two little-endian words, kept where `first` and
// `second` say (the PF key is shown but not kept).
struct KeyLine {
  int command;
  const char* label;
  int colour;  // label and value
  std::uint16_t core::ProgramState::*first = nullptr;
  std::uint16_t core::ProgramState::*second = nullptr;
};
extern const KeyLine kKeyLines[3];

// An unsealed gauge shows its FET control register (word 0x46); each field is one bit.
struct FetBit {
  const char* text;
  int mask;
};
extern const FetBit kUnsealedFetBits[3];

// A sealed gauge only tells a two-bit state (bits 15..14 of subcommand 0x0006).
struct SealedFetState {
  bool charge_on;
  bool discharge_on;
};
extern const SealedFetState kSealedFetStates[4];

extern const char* const kQmaxCellText[4];
inline constexpr int kQmaxSubclass = 82;
inline constexpr int kFirstRaSubclass = 88;  // cells 0 to 3 are 88 to 91

// ---- steps ----

// The status words (all of them, or the rows given), each read as the report reads it.
void PrintStatusWords(core::Program& p, std::span<const RegisterLine> rows = kStatusWords);

// Reads Operation Status, sets StUnsealDevice (left as it was for the
// reserved combination) and writes the device line between two separators.
void PrintSealUnsealDevice20z(core::Program& p);

// Unseal, full-access and PF key lines and their closing separator.
void PrintKeys(core::Program& p);

void PrintProtectionRegisters(core::Program& p);

// The FET line; its form follows StUnsealDevice.
void PrintFetControl(core::Program& p);

// Update Status, Qmax per cell and pack, and the R_a flag of each cell.
void PrintGaugeMemory(core::Program& p);

void PrintVersionWords(core::Program& p);

}  // namespace reports::bq20z_family
