#pragma once
// The read command's data: every Smart Battery Data command from 0x01 to
// 0x22 with a defined meaning (ManufacturerAccess and ManufacturerData left
// out) read once, the cell voltages of the shared search, the gauge family
// and its seal state; and the document made of them.

#include <span>
#include <string>

#include "cli/battery_values.h"
#include "cli/gauge_family.h"
#include "cli/seal_state.h"
#include "core/program.h"
#include "reports/cell_voltages.h"
#include "reports/flag_lines.h"

namespace cli {

// How a value's unit is written in text.
enum class TextUnit { None, MilliVolts, MilliAmps, Percent, Minutes, Celsius, Capacity, Rate };

// A word of the document: its key, command, conversion, and its text label.
struct WordField {
  const char* key;
  int command;
  Json (*convert)(int word, const Scales&);
  bool unit_from_battery_mode;  // capacities and AtRate
  const char* label;
  TextUnit unit;
};

// In the order of the document.
std::span<const WordField> WordFields();

struct BatteryText {
  int result = 0;     // the byte count, or an error code
  std::string bytes;  // as the battery sent them
};

struct BatteryReading {
  int words[0x1D] = {};  // the results of word commands 0x01 to 0x1C, by command
  BatteryText manufacturer_name;
  BatteryText device_name;
  BatteryText chemistry;
  Identification identification;
  SealReading seal;
  reports::CellVoltageSearch cells;
};

// A text block (Manufacturer Name, Device Name, Device Chemistry).
BatteryText ReadBatteryText(core::Program& p, int command);

BatteryReading ReadBattery(core::Program& p);

// The four cell positions of a search that matched, cell 1 first; a
// position without a cell is null.
Json CellList(const reports::CellVoltageSearch& cells);
// A flag's name as the reports print it, without its padding.
std::string BareName(const reports::FlagName& flag);

// cell_voltages_mV and cell_imbalance_mV; seal.
// A failed pack voltage read is the cells' error; other failed reads of the
// search leave them null.
void AddCells(Record& record, const reports::CellVoltageSearch& cells, int pack_voltage);
void AddSeal(Record& record, const SealReading& seal);

// The document's values and errors, in the documented key order.
Record Decode(const BatteryReading& reading);

}  // namespace cli
