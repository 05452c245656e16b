#include "reports/standard_lines.h"

#include "reports/battery_values.h"

namespace reports {

using namespace core;

namespace {

bool OneText(ValueRule rule) {
  return rule == ValueRule::SerialLine || rule == ValueRule::TemperatureLine ||
         rule == ValueRule::RelativeSocLine || rule == ValueRule::AbsoluteSocLine;
}

void Read(Program& p, const StandardLine& row, TextBuffer texts) {
  if (row.rule == ValueRule::Text) {
    p.status = p.bus.SMBReadBlock(BatteryAddress, row.command, p.*texts);
  } else if (row.rule == ValueRule::Chemistry) {
    p.status = p.bus.SMBReadBlock(BatteryAddress, row.command, reinterpret_cast<std::uint8_t*>(p.tempStr),
                                  sizeof p.tempStr);
  } else {
    p.status = p.bus.SMBReadWord(BatteryAddress, row.command);
  }
  if (row.sleep_ms != kNoSleep) p.Sleep(row.sleep_ms);
}

// The value of the last read in the colour already set.
void WriteValue(Program& p, ValueRule rule, TextBuffer texts, int capacity_mode) {
  const unsigned value = static_cast<unsigned>(p.status);
  switch (rule) {
    case ValueRule::Capacity: ContinueCapacity(p, p.status, capacity_mode); break;
    case ValueRule::Decimal: p.con.Continue("%u\n", value); break;
    case ValueRule::Date: PrintManufactureDate(p, p.status); break;
    case ValueRule::MilliVolts: p.con.Continue("%u mV\n", value); break;
    case ValueRule::MilliAmps: p.con.Continue("%u mA\n", value); break;
    case ValueRule::SignedMilliAmps:
      p.con.Continue("%d mA\n", static_cast<int>(static_cast<std::int16_t>(p.status & 0xFFFF)));
      break;
    case ValueRule::Celsius: p.con.Continue("%02.02f C\n", static_cast<double>(Celsius(p.status))); break;
    case ValueRule::HexUpper: p.con.Continue("%04X Hex\n", value); break;
    case ValueRule::HexUpperCaps: p.con.Continue("%04X HEX\n", value); break;
    case ValueRule::HexLower: p.con.Continue("%04x Hex\n", value); break;
    case ValueRule::Percent: p.con.Continue("%u %%\n", value); break;
    case ValueRule::Text: ContinueBlockText(p, p.*texts, sizeof(p.*texts), p.status); break;
    case ValueRule::Chemistry: ContinueChemistry(p); break;
    case ValueRule::SerialLine: p.con.Continue(" Serial Number:............. %04X Hex\n", value); break;
    case ValueRule::TemperatureLine:
      p.con.Continue(" Temperature:............... %02.02f C\n", static_cast<double>(Celsius(p.status)));
      break;
    case ValueRule::RelativeSocLine: p.con.Continue(" RelativeSOC                 %u %%\n", value); break;
    case ValueRule::AbsoluteSocLine: p.con.Continue(" AbsoluteSOC................ %u %%\n", value); break;
  }
}

}  // namespace

void PrintStandardLines(Program& p, std::span<const StandardLine> rows, TextBuffer texts, int capacity_mode) {
  for (const StandardLine& row : rows) {
    if (OneText(row.rule)) {
      Read(p, row, texts);
      p.con.SetColour(row.label_colour);
    } else {
      if (row.order != Order::ReadFirst) p.con.Print(row.label_colour, "%s", row.label);
      if (row.order == Order::LabelFirst) p.con.SetColour(row.value_colour);
      Read(p, row, texts);
      if (row.order == Order::ReadFirst) p.con.Print(row.label_colour, "%s", row.label);
      // The date sets its own two colours.
      if (row.order != Order::LabelFirst && row.rule != ValueRule::Date) p.con.SetColour(row.value_colour);
    }
    WriteValue(p, row.rule, texts, capacity_mode);
  }
}

}  // namespace reports
