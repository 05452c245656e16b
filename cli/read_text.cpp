#include "cli/read_text.h"

#include <cstdint>
#include <string>

namespace cli {

using platform::Cyan;
using platform::Red;
using platform::White;
using platform::Yellow;

namespace {

class TextList {
 public:
  TextList(platform::Console& con, const Record& record) : con_(con), record_(record) {}

  void Label(const char* label) { PrintLabel(con_, label); }

  // The value of `key` with its unit; a value that is null says why.
  void Row(const char* label, const char* key, TextUnit unit, const char* when_null = "not available") {
    Label(label);
    const Json& value = record_.values().at(key);
    if (value.is_null()) {
      Null(key, when_null);
    } else {
      con_.Print(White, "%s%s\n", Text(value, unit).c_str(), Suffix(unit));
    }
  }

  // A status word's raw value, then its flags.
  void StatusRow(const char* label, const char* key) {
    Label(label);
    const Json& value = record_.values().at(key);
    if (value.is_null()) {
      Null(key, "");
      return;
    }
    con_.Print(White, "%s", value.at("raw").get<std::string>().c_str());
    con_.SetColour(Yellow);
    for (const Json& flag : value.at("flags")) con_.Continue(" %s", flag.get<std::string>().c_str());
    if (value.contains("error_code")) con_.Print(White, ", error code %d", value.at("error_code").get<int>());
    con_.NewLine();
  }

  void Cells() {
    const Json& cells = record_.values().at("cell_voltages_mV");
    if (!cells.is_array()) {
      Label("Cell voltages");
      const Json& voltage = record_.values().at("voltage_mV");
      if (record_.errors().contains("cell_voltages_mV") || !voltage.is_number()) {
        Null("cell_voltages_mV", "");
      } else {
        con_.Print(White, "no cell layout matches the pack voltage (%d mV)\n", voltage.get<int>());
      }
      return;
    }
    for (std::size_t n = 0; n < cells.size(); ++n) {
      if (cells[n].is_null()) continue;  // no cell in this position
      Label(("Cell " + std::to_string(n + 1)).c_str());
      con_.Print(White, "%d mV\n", cells[n].get<int>());
    }
  }

 private:
  void Null(const char* key, const char* when_null) {
    if (record_.errors().contains(key)) {
      con_.Print(Red, "n/a (error %d)\n", record_.errors().at(key).get<int>());
    } else {
      con_.Print(White, "%s\n", when_null);
    }
  }

  static std::string Text(const Json& value, TextUnit unit) {
    char text[32];
    if (value.is_boolean()) return value.get<bool>() ? "yes" : "no";
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number_float()) {
      std::snprintf(text, sizeof text, unit == TextUnit::Celsius ? "%.2f" : "%.1f", value.get<double>());
      return text;
    }
    return value.dump();
  }

  const char* Suffix(TextUnit unit) const {
    const Json& capacity_unit = record_.values().at("capacity_unit");
    const bool milliwatts = capacity_unit.is_string() && capacity_unit.get<std::string>() == "mWh";
    switch (unit) {
      case TextUnit::None: return "";
      case TextUnit::MilliVolts: return " mV";
      case TextUnit::MilliAmps: return " mA";
      case TextUnit::Percent: return " %";
      case TextUnit::Minutes: return " min";
      case TextUnit::Celsius: return " C";
      case TextUnit::Capacity: return milliwatts ? " mWh" : " mAh";
      case TextUnit::Rate: return milliwatts ? " mW" : " mA";
    }
    return "";
  }

  platform::Console& con_;
  const Record& record_;
};

}  // namespace

void PrintLabel(platform::Console& con, const char* label) { con.Print(Cyan, "%-26s", label); }

void PrintTextRow(platform::Console& con, const char* label, const BatteryText& text) {
  PrintLabel(con, label);
  if (text.result < 0) {
    con.Print(Red, "n/a (error %d)\n", text.result);
    return;
  }
  con.SetColour(White);
  con.WriteBatteryText(reinterpret_cast<const std::uint8_t*>(text.bytes.data()), text.bytes.size());
  con.NewLine();
}

void PrintBatteryText(platform::Console& con, const BatteryReading& reading, const Record& record) {
  TextList list(con, record);
  PrintTextRow(con, "Device name", reading.device_name);
  PrintTextRow(con, "Manufacturer", reading.manufacturer_name);
  PrintTextRow(con, "Chemistry", reading.chemistry);
  const auto& family = reading.identification.family;
  list.Row("Family", "family", TextUnit::None, "unknown gauge");
  list.Row("Seal", "seal", TextUnit::None,
           family == Family::bq9000 ? "none (the bq9000 family has no security mode)" : "unknown");
  list.Row("Capacity unit", "capacity_unit", TextUnit::None);
  for (const WordField& field : WordFields()) {
    if (std::string(field.key) == "cycle_count") continue;  // in the health block
    list.Row(field.label, field.key, field.unit, field.unit == TextUnit::None ? "invalid" : "not available");
  }
  list.StatusRow("Battery mode", "battery_mode");
  list.StatusRow("Battery status", "battery_status");
  list.Cells();
  con.NewLine();
  con.Print(Yellow, "Health\n");
  list.Row("State of health", "state_of_health_pct", TextUnit::Percent, "n/a (design capacity is 0)");
  list.Row("Cycle count", "cycle_count", TextUnit::None);
  list.Row("Cell imbalance", "cell_imbalance_mV", TextUnit::MilliVolts);
}

}  // namespace cli
