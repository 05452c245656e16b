#pragma once
// The labelled Smart Battery lines of the reports: each report lists its rows
// as data (label, colours, register, sleep, value rule, whether the label is
// written before the read), and one routine reads and writes them in order.

#include <cstdint>
#include <span>

#include "core/program.h"
#include "reports/battery_values.h"

namespace reports {

// How a row's value is written.
enum class ValueRule {
  Capacity,         // "%u mAh\n", or "%u0 mWh\n" in the 10 mWh mode
  Decimal,          // "%u\n"
  Date,             // the raw word and the decoded date, in their own colours
  MilliVolts,       // "%u mV\n"
  MilliAmps,        // "%u mA\n"
  SignedMilliAmps,  // "%d mA\n" of the low 16 bits
  Celsius,          // "%02.02f C\n"
  HexUpper,         // "%04X Hex\n"
  HexUpperCaps,     // "%04X HEX\n"
  HexLower,         // "%04x Hex\n"
  Percent,          // "%u %%\n"
  Text,             // a block's bytes, read into the report's text buffer
  Chemistry,        // a block read into tempStr, written up to its end
  // Label and value written as one text, in the label colour:
  SerialLine,       // " Serial Number:............. %04X Hex\n"
  TemperatureLine,  // " Temperature:............... %02.02f C\n"
  RelativeSocLine,  // " RelativeSOC                 %u %%\n"
  AbsoluteSocLine,  // " AbsoluteSOC................ %u %%\n"
};

// Where the read stands against the row's writes.
enum class Order {
  ReadFirst,      // read (and sleep), then label and value
  LabelFirst,     // label, value colour, then the read and its value at once
  LabelThenRead,  // label, then the read, then the value in its colour
};

struct StandardLine {
  const char* label = nullptr;  // none for the one-text rules
  int label_colour;
  int value_colour;
  int command;
  int sleep_ms = kNoSleep;  // the next operation follows at once
  ValueRule rule;
  Order order = Order::ReadFirst;
};

// Where a report reads its text blocks.
using TextBuffer = std::uint8_t (core::ProgramState::*)[256];

void PrintStandardLines(core::Program& p, std::span<const StandardLine> rows, TextBuffer texts,
                        int capacity_mode);

}  // namespace reports
