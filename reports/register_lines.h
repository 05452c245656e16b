#pragma once
// A gauge's registers as rows: status words written as a value and flag lines,
// identity and version words as a value only. Each report lists its registers
// as data; one routine reads and writes a row, whatever the family. A register
// behind the family's own gauge commands is read by the family's exchange,
// which the report hands to the routine.

#include <cstdint>
#include <functional>
#include <span>

#include "core/program.h"
#include "reports/battery_values.h"
#include "reports/flag_lines.h"
#include "reports/standard_lines.h"

namespace reports {

// Where a row's value comes from.
enum class Source {
  Word,   // SMBReadWord of the command into `kept_in`, then `sleep_ms`
  Gauge,  // the family's exchange for the (sub)command
};

// How the value is written, in the value colour: a closed set, so that each
// format text stays literal and checked.
enum class ValueForm {
  Word,       // "%04X Hex\n" of the word read
  WordLower,  // "%04x Hex\n" of the word read
  Bytes10,    // "%02X%02X Hex\n" with bytes 1, 0 of buf
  Bytes23,    // "%02X%02X Hex\n" with bytes 2, 3 of buf
  Bytes210,   // "%02X%02X%02X Hex\n" with bytes 2, 1, 0 of buf
  Bytes3210,  // "%02X%02X%02X%02X Hex\n" with bytes 3, 2, 1, 0 of buf
  Bytes1032,  // "%02X%02X%02X%02X Hex\n" with bytes 1, 0, 3, 2: the lower half first
};

// Which flag lines follow the value, in red. The value decoded is the word
// read, or bytes 0 to 3 of buf least significant first.
enum class LineRule {
  None,            // no flag line
  Always,          // bits high..low on one line, ended even when none is set
  WhenSet,         // bits high..low on one line, only when one of them is set
  UpperHalfFirst,  // bits 31-16, then bits 15-0, each line only when its half is set
  LowerHalfFirst,  // bits 15-0, then bits 31-16, each line only when its half is set
  Split,           // bits 23-16, then bits 15-0, each line only when its bits are set
};

// What a register says when no bit at all is set: " No Flags                    OK".
enum class NoFlagsText {
  None,
  GreenInLine,      // green is set after the names; at 0 the text ends the flag line
  WhiteLine,        // white is set after the flag lines; at 0 the text on a line of its own
  WhiteLineAtZero,  // at 0 only: the text in white on a line of its own
};

// A text for one value of a bit field; a value without an entry writes nothing.
struct StateText {
  int value;
  int colour;
  const char* text;  // written as it stands
};

// A bit field of a status word decoded into one line, ended even when empty.
struct StateLine {
  int low_bit;
  int width;
  std::span<const StateText> texts;
};

struct RegisterLine {
  int reg;  // the command of a word read, or the family's subcommand
  const char* label;
  int label_colour;
  int value_colour;
  ValueForm form;
  Source source = Source::Gauge;
  int core::ProgramState::*kept_in = &core::ProgramState::status;  // where a word read is kept
  int sleep_ms = kNoSleep;                                          // after a word read
  Order order = Order::ReadFirst;
  FlagTable flags = {};
  LineRule rule = LineRule::None;
  int high_bit = 15;  // the bits of the Always and WhenSet rules
  int low_bit = 0;
  NoFlagsText no_flags = NoFlagsText::None;
  std::span<const StateLine> states = {};  // written after the flag lines
  int separator = 0;                       // magenta dashes that close the row; 0: none
};

// The family's exchange for a gauge register: sends it, leaves a block's data
// in buf and returns the read's result.
using GaugeRead = std::function<int(int reg)>;

void PrintRegister(core::Program& p, const RegisterLine& row, const GaugeRead& read = {});
void PrintRegisters(core::Program& p, std::span<const RegisterLine> rows, const GaugeRead& read = {});

}  // namespace reports
