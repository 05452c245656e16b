#pragma once
// Status registers shown as flag names: a table names the bits, a line rule
// decides which lines are written. The caller sets the colour (red) first.

#include <cstdint>
#include <span>

#include "platform/console.h"

namespace reports {

// What a set bit does to the pack. "May" marks an effect that no maker's
// text confirms: diagnose says "may" where it rests on one.
enum class Effect {
  Info,               // information only
  Warning,            // a protection is near its limit; no action yet
  BlocksCharge,
  BlocksDischarge,
  MayBlockCharge,
  MayBlockDischarge,
  MayBlockBoth,
  Permanent,          // a permanent failure
};

// Short names of the effects, for the flag tables.
namespace effects {
inline constexpr Effect kInfo = Effect::Info;
inline constexpr Effect kNoCharge = Effect::BlocksCharge;
inline constexpr Effect kNoDischarge = Effect::BlocksDischarge;
inline constexpr Effect kMayNoCharge = Effect::MayBlockCharge;
inline constexpr Effect kMayNoDischarge = Effect::MayBlockDischarge;
inline constexpr Effect kMayNeither = Effect::MayBlockBoth;
inline constexpr Effect kPermanent = Effect::Permanent;
}  // namespace effects

struct FlagName {
  int bit;                         // 0 is the least significant bit
  const char* name;                // written as it stands, its leading blank included
  const char* meaning = "";        // in plain words, for diagnose
  Effect effect = Effect::Info;
};

// Bits without an entry have no name. Entries are listed from the most
// significant bit down, the order in which names are written.
using FlagTable = std::span<const FlagName>;

// The names of the set bits from `high_bit` down to `low_bit`, no line end.
void WriteFlagNames(platform::Console& con, FlagTable table, std::uint32_t value, int high_bit, int low_bit);

// The names of bits high..low, then a line end even when none is set.
void FlagLine(platform::Console& con, FlagTable table, std::uint32_t value, int high_bit, int low_bit);

// The names of bits high..low and a line end, only when one of those bits is
// set (a set bit without a name gives an empty line).
void FlagLineWhenSet(platform::Console& con, FlagTable table, std::uint32_t value, int high_bit, int low_bit);

// A 32-bit register: bits 31-16 on one line, then bits 15-0 on another, each
// only when its half is non-zero.
void TwoHalfLines(platform::Console& con, FlagTable table, std::uint32_t value);

// A register's value from `count` bytes, least significant first.
std::uint32_t LittleEndianValue(const std::uint8_t* bytes, int count);

}  // namespace reports
