#include "cli/battery_read.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "reports/smart_battery_flags.h"

namespace cli {

using core::BatteryAddress;
using core::Program;

namespace {

constexpr int kBatteryMode = 0x03;
constexpr int kVoltage = 0x09;
constexpr int kBatteryStatus = 0x16;
constexpr int kFullChargeCapacity = 0x10;
constexpr int kDesignCapacity = 0x18;
constexpr int kSpecificationInfo = 0x1A;
constexpr int kLastWord = 0x1C;

const WordField kWordFields[] = {
    {"serial_number", 0x1C, Number, false, "Serial number", TextUnit::None},
    {"manufacture_date", 0x1B, Date, false, "Manufacture date", TextUnit::None},
    {"specification_info", 0x1A, Hex, false, "Specification info", TextUnit::None},
    {"remaining_capacity_alarm", 0x01, Capacity, true, "Remaining capacity alarm", TextUnit::Capacity},
    {"remaining_time_alarm_min", 0x02, Minutes, false, "Remaining time alarm", TextUnit::Minutes},
    {"at_rate", 0x04, AtRate, true, "At rate", TextUnit::Rate},
    {"at_rate_time_to_full_min", 0x05, Minutes, false, "At rate time to full", TextUnit::Minutes},
    {"at_rate_time_to_empty_min", 0x06, Minutes, false, "At rate time to empty", TextUnit::Minutes},
    {"at_rate_ok", 0x07, Truth, false, "At rate OK", TextUnit::None},
    {"temperature_C", 0x08, Celsius, false, "Temperature", TextUnit::Celsius},
    {"voltage_mV", 0x09, MilliVolts, false, "Voltage", TextUnit::MilliVolts},
    {"current_mA", 0x0A, SignedMilliAmps, false, "Current", TextUnit::MilliAmps},
    {"average_current_mA", 0x0B, SignedMilliAmps, false, "Average current", TextUnit::MilliAmps},
    {"max_error_pct", 0x0C, Number, false, "Max error", TextUnit::Percent},
    {"relative_state_of_charge_pct", 0x0D, Number, false, "Relative state of charge", TextUnit::Percent},
    {"absolute_state_of_charge_pct", 0x0E, Number, false, "Absolute state of charge", TextUnit::Percent},
    {"remaining_capacity", 0x0F, Capacity, true, "Remaining capacity", TextUnit::Capacity},
    {"full_charge_capacity", 0x10, Capacity, true, "Full charge capacity", TextUnit::Capacity},
    {"run_time_to_empty_min", 0x11, Minutes, false, "Run time to empty", TextUnit::Minutes},
    {"average_time_to_empty_min", 0x12, Minutes, false, "Average time to empty", TextUnit::Minutes},
    {"average_time_to_full_min", 0x13, Minutes, false, "Average time to full", TextUnit::Minutes},
    {"charging_current_mA", 0x14, MilliAmps, false, "Charging current", TextUnit::MilliAmps},
    {"charging_voltage_mV", 0x15, MilliVolts, false, "Charging voltage", TextUnit::MilliVolts},
    {"cycle_count", 0x17, Number, false, "Cycle count", TextUnit::None},
    {"design_capacity", 0x18, Capacity, true, "Design capacity", TextUnit::Capacity},
    {"design_voltage_mV", 0x19, MilliVolts, false, "Design voltage", TextUnit::MilliVolts},
};

void AddText(Record& record, const char* key, const BatteryText& text) {
  if (text.result < 0) {
    record.Fail(key, text.result);
  } else {
    record.Set(key, JsonText(text.bytes));
  }
}

Json FlagNames(reports::FlagTable table, int word, int lowest_bit) {
  Json names = Json::array();
  for (const reports::FlagName& flag : table) {
    if (flag.bit < lowest_bit || (word & (1 << flag.bit)) == 0) continue;
    names.push_back(BareName(flag));
  }
  return names;
}

void AddStatusWords(Record& record, const BatteryReading& reading) {
  const int mode = reading.words[kBatteryMode];
  if (mode < 0) {
    record.Fail("battery_mode", mode);
  } else {
    record.Set("battery_mode", {{"raw", Hex(mode, {})}, {"flags", FlagNames(reports::kBatteryModeFlags, mode, 0)}});
  }
  const int status = reading.words[kBatteryStatus];
  if (status < 0) {
    record.Fail("battery_status", status);
  } else {
    // Bits 3 to 0 are an error code, not flags.
    record.Set("battery_status", {{"raw", Hex(status, {})},
                                  {"flags", FlagNames(reports::kBatteryStatusFlags, status, 4)},
                                  {"error_code", status & 0x0F}});
  }
}

void AddStateOfHealth(Record& record, int full_charge, int design) {
  if (full_charge < 0 || design < 0) {
    record.Fail("state_of_health_pct", full_charge < 0 ? full_charge : design);
  } else if (design == 0) {
    record.Set("state_of_health_pct", nullptr);
  } else {
    record.Set("state_of_health_pct", std::round(full_charge * 1000.0 / design) / 10.0);
  }
}

}  // namespace

std::string BareName(const reports::FlagName& flag) {
  std::string name = flag.name;
  name.erase(0, name.find_first_not_of(' '));
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

void AddCells(Record& record, const reports::CellVoltageSearch& cells, int pack_voltage) {
  if (!cells.matched) {
    // No layout adds up to the pack voltage: the values are not cell
    // voltages, and a read that failed on the way says nothing more, unless
    // it was the pack voltage itself.
    if (pack_voltage < 0) {
      record.Fail("cell_voltages_mV", pack_voltage);
      record.Fail("cell_imbalance_mV", pack_voltage);
    } else {
      record.Set("cell_voltages_mV", nullptr);
      record.Set("cell_imbalance_mV", nullptr);
    }
    return;
  }
  record.Set("cell_voltages_mV", CellList(cells));
  std::vector<int> present;
  for (const std::uint16_t cell : cells.cells) {
    if (cell != 0) present.push_back(cell);
  }
  if (present.size() < 2) {
    record.Set("cell_imbalance_mV", nullptr);
  } else {
    const auto [lowest, highest] = std::minmax_element(present.begin(), present.end());
    record.Set("cell_imbalance_mV", *highest - *lowest);
  }
}

void AddSeal(Record& record, const SealReading& seal) {
  if (seal.error < 0) {
    record.Fail("seal", seal.error);
  } else {
    record.Set("seal", seal.state ? Json(SealName(*seal.state)) : Json(nullptr));
  }
}

std::span<const WordField> WordFields() { return kWordFields; }

Json CellList(const reports::CellVoltageSearch& cells) {
  Json list = Json::array();
  // A position that reads 0 holds no cell (a pack of fewer cells).
  for (const std::uint16_t cell : cells.cells) list.push_back(cell != 0 ? Json(cell) : Json(nullptr));
  return list;
}

BatteryText ReadBatteryText(Program& p, int command) {
  std::uint8_t block[256] = {};
  BatteryText text;
  text.result = p.bus.SMBReadBlock(BatteryAddress, command, block);
  if (text.result > 0) {
    text.bytes.assign(reinterpret_cast<const char*>(block), std::min<std::size_t>(text.result, sizeof block));
  }
  return text;
}

BatteryReading ReadBattery(Program& p) {
  BatteryReading reading;
  for (int command = 0x01; command <= kLastWord; ++command) {
    reading.words[command] = p.bus.SMBReadWord(BatteryAddress, command);
  }
  reading.manufacturer_name = ReadBatteryText(p, 0x20);
  reading.device_name = ReadBatteryText(p, 0x21);
  reading.chemistry = ReadBatteryText(p, 0x22);
  reading.identification = IdentifyGauge(p, reading.device_name.bytes);
  if (reading.identification.family) reading.seal = ReadSealState(p, *reading.identification.family);
  reading.cells = reports::FindCellVoltages(p);
  return reading;
}

Record Decode(const BatteryReading& reading) {
  const Scales scales = ScalesOf(reading.words[kBatteryMode], reading.words[kSpecificationInfo]);
  Record record;
  record.Set("schema", 1);
  const auto& family = reading.identification.family;
  record.Set("family", family ? Json(InfoOf(*family).name) : Json(nullptr));
  AddText(record, "device_name", reading.device_name);
  AddText(record, "manufacturer_name", reading.manufacturer_name);
  AddText(record, "chemistry", reading.chemistry);
  for (const WordField& field : kWordFields) {
    const int result = reading.words[field.command];
    if (field.unit_from_battery_mode) {
      record.CapacityWord(field.key, result, field.convert, scales);
    } else {
      record.Word(field.key, result, field.convert, scales);
    }
    if (field.command == kSpecificationInfo) {
      // The unit of every capacity, which BatteryMode gives.
      if (scales.battery_mode < 0) {
        record.Fail("capacity_unit", scales.battery_mode);
      } else {
        record.Set("capacity_unit", CapacityUnit(scales));
      }
    }
  }
  AddStatusWords(record, reading);
  AddCells(record, reading.cells, reading.words[kVoltage]);
  AddStateOfHealth(record, reading.words[kFullChargeCapacity], reading.words[kDesignCapacity]);
  AddSeal(record, reading.seal);
  return record;
}

}  // namespace cli
