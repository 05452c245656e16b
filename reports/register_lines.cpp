#include "reports/register_lines.h"

namespace reports {

using namespace core;

namespace {

bool IsWordForm(ValueForm form) { return form == ValueForm::Word || form == ValueForm::WordLower; }

int Read(Program& p, const RegisterLine& row, const GaugeRead& read) {
  if (row.source == Source::Gauge) return read(row.reg);
  const int word = p.bus.SMBReadWord(BatteryAddress, row.reg);
  p.*row.kept_in = word;
  if (row.sleep_ms != kNoSleep) p.Sleep(row.sleep_ms);
  return word;
}

// The value in the colour already set.
void WriteValue(Program& p, ValueForm form, int word) {
  const std::uint8_t* b = p.buf;
  switch (form) {
    case ValueForm::Word: p.con.Continue("%04X Hex\n", static_cast<unsigned>(word)); break;
    case ValueForm::WordLower: p.con.Continue("%04x Hex\n", static_cast<unsigned>(word)); break;
    case ValueForm::Bytes10: p.con.Continue("%02X%02X Hex\n", b[1], b[0]); break;
    case ValueForm::Bytes23: p.con.Continue("%02X%02X Hex\n", b[2], b[3]); break;
    case ValueForm::Bytes210: p.con.Continue("%02X%02X%02X Hex\n", b[2], b[1], b[0]); break;
    case ValueForm::Bytes3210: p.con.Continue("%02X%02X%02X%02X Hex\n", b[3], b[2], b[1], b[0]); break;
    case ValueForm::Bytes1032: p.con.Continue("%02X%02X%02X%02X Hex\n", b[1], b[0], b[3], b[2]); break;
  }
}

void WriteNoFlags(Program& p, NoFlagsText rule, std::uint32_t value) {
  switch (rule) {
    case NoFlagsText::None: return;
    case NoFlagsText::GreenInLine: p.con.SetColour(Green); break;
    case NoFlagsText::WhiteLine: p.con.SetColour(White); break;
    case NoFlagsText::WhiteLineAtZero:
      if (value == 0) p.con.SetColour(White);
      break;
  }
  if (value != 0) return;
  p.con.Continue(" No Flags                    OK");
  if (rule != NoFlagsText::GreenInLine) p.con.NewLine();
}

void WriteFlagLines(Program& p, const RegisterLine& row, std::uint32_t value) {
  if (row.rule == LineRule::None) return;
  p.con.SetColour(Red);
  switch (row.rule) {
    case LineRule::None: break;
    case LineRule::Always:
      WriteFlagNames(p.con, row.flags, value, row.high_bit, row.low_bit);
      // This text stands on the flag line itself, before its end.
      if (row.no_flags == NoFlagsText::GreenInLine) WriteNoFlags(p, row.no_flags, value);
      p.con.NewLine();
      break;
    case LineRule::WhenSet: FlagLineWhenSet(p.con, row.flags, value, row.high_bit, row.low_bit); break;
    case LineRule::UpperHalfFirst: TwoHalfLines(p.con, row.flags, value); break;
    case LineRule::LowerHalfFirst:
      FlagLineWhenSet(p.con, row.flags, value, 15, 0);
      FlagLineWhenSet(p.con, row.flags, value, 31, 16);
      break;
    case LineRule::Split:
      FlagLineWhenSet(p.con, row.flags, value, 23, 16);
      FlagLineWhenSet(p.con, row.flags, value, 15, 0);
      break;
  }
  if (row.no_flags != NoFlagsText::GreenInLine) WriteNoFlags(p, row.no_flags, value);
}

void WriteStateLine(Program& p, const StateLine& line, int word) {
  const int value = (word >> line.low_bit) & ((1 << line.width) - 1);
  for (const StateText& state : line.texts) {
    if (state.value == value) {
      p.con.Print(state.colour, "%s", state.text);
      break;
    }
  }
  p.con.NewLine();
}

}  // namespace

void PrintRegister(Program& p, const RegisterLine& row, const GaugeRead& read) {
  if (row.order != Order::ReadFirst) p.con.Print(row.label_colour, "%s", row.label);
  if (row.order == Order::LabelFirst) p.con.SetColour(row.value_colour);
  const int result = Read(p, row, read);
  if (row.order == Order::ReadFirst) p.con.Print(row.label_colour, "%s", row.label);
  if (row.order != Order::LabelFirst) p.con.SetColour(row.value_colour);
  WriteValue(p, row.form, result);
  const std::uint32_t value =
      IsWordForm(row.form) ? static_cast<std::uint32_t>(result) : LittleEndianValue(p.buf, 4);
  WriteFlagLines(p, row, value);
  for (const StateLine& line : row.states) WriteStateLine(p, line, result);
  if (row.separator != 0) p.con.Dashes(Magenta, row.separator);
}

void PrintRegisters(Program& p, std::span<const RegisterLine> rows, const GaugeRead& read) {
  for (const RegisterLine& row : rows) PrintRegister(p, row, read);
}

}  // namespace reports
