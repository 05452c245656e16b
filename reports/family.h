#pragma once
// What the program knows of a gauge family, as data: one descriptor per
// family, each in its own folder (reports/<family>/descriptor.cpp), like the
// entries of a programmer table. The command line loops over them or asks the
// one it found; it never switches on the family.

#include <cstdint>
#include <optional>
#include <span>

#include "core/program.h"
#include "reports/flag_lines.h"

namespace reports {

enum class Family { bq20z, bq30z, bq40z, bq9000 };

enum class Seal { Sealed, Unsealed, FullAccess };

struct SealReading {
  std::optional<Seal> state;  // none: no such mode in the family, or the reserved combination
  int error = 0;              // the read's error code when it failed
};

// What one access path gave: whether the gauge answered on it as the
// family's gauges do, and the device type when it was read.
struct PathAnswer {
  bool fits = false;
  std::optional<int> device_type;
};

// The status registers that diagnose reads, by the names the maker gives them.
enum class StatusRegister {
  OperationStatus,
  SafetyAlert,
  SafetyStatus,
  PFAlert,
  PFStatus,
  ChargingStatus,
  GaugingStatus,
  ManufacturingStatus,
};

struct StatusValue {
  bool read = false;        // a whole reply to this very request came back
  int result = 0;           // the byte count read, or the adapter's error code
  std::uint32_t value = 0;  // little-endian, when read
};

// Reads a register selected by its ManufacturerAccess subcommand; only
// read requests are written. The reply's data stay in buf.
using StatusRead = StatusValue (*)(core::Program& p, int subcommand, int bytes);

struct StatusEntry {
  StatusRegister id;
  const char* name;  // "SafetyStatus"
  int subcommand;    // its ManufacturerAccess number, 0x0050 to 0x0057
  int bytes;         // the value's width
  FlagTable flags;   // the reports' names, with meanings and effects
  Effect every_bit;  // an alert's or a failure register's bits, named or not, do this
  StatusRead sealed;    // how it is read while the gauge is sealed
  StatusRead unsealed;  // and while unsealed or in full access
};

// A bit that a verdict rule asks for, wherever the family keeps it.
enum class Role {
  PermanentFailure,   // the gauge's own "permanent failure set" bit
  ChargeDisabled,     // the gauge has turned charging off (XCHG)
  DischargeDisabled,  // the gauge has turned discharging off (XDSG)
  ChargeFetOn,
  DischargeFetOn,
  FetControl,         // firmware FET control enabled (FET_EN)
  PermanentFailureEnabled,
  GaugingEnabled,
  ChargeHeldOff,      // charge inhibit or suspend, or a temperature region with no charging
};

struct RoleBit {
  Role role;
  StatusRegister in;
  int bit;
};

// Where the pack's history is, and how it is read (while not sealed).
struct LifetimeBlock {
  int subcommand;
  int bytes;
  StatusRead read;
};

struct FamilyDescriptor {
  Family family;
  const char* name;   // as the report command and the JSON output name it
  char menu_choice;   // the interactive program's choice for its report
  void (*report)(core::Program&);

  // Recognition: words of a Device Name that name the family, the access
  // path the family's gauges answer on (whether it reads the device type),
  // and the rank of that path when the paths are tried one after another
  // (the most particular first).
  std::span<const char* const> name_words;
  PathAnswer (*read_path)(core::Program& p, bool probe);
  const char* path;
  bool path_reads_device_type;
  int probe_rank;

  // The security mode, read quietly; nullptr: the family has none.
  SealReading (*read_seal)(core::Program& p);
  // Security commands: whether the family takes them, its seal command and
  // how long it ignores keys after a wrong one.
  bool security_commands = false;
  std::uint16_t seal_command = 0;
  int wrong_key_lockout_s = 0;

  // What diagnose reads, and where the bits of its rules are.
  std::span<const StatusEntry> status_registers = {};
  std::span<const RoleBit> roles = {};
  // LifetimeData block 1, the pack's history; nullptr: none.
  const LifetimeBlock* lifetime = nullptr;
};

// Every family, in the order of the interactive program's menu.
std::span<const FamilyDescriptor* const> Families();

// Bits 9 and 8 (SEC1, SEC0) of a bq30z's or bq40z's OperationStatus.
std::optional<Seal> SealFromSecurityBits(int bits);

}  // namespace reports
