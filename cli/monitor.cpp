#include "cli/monitor.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "cli/battery_values.h"
#include "cli/session.h"
#include "cli/streams.h"
#include "platform/common/printable.h"
#include "platform/system.h"
#include "reports/cell_voltages.h"

namespace cli {

using core::BatteryAddress;
using core::Program;

namespace {

const char* const kColumns[] = {"time",
                                "elapsed_s",
                                "voltage_mV",
                                "current_mA",
                                "average_current_mA",
                                "temperature_C",
                                "relative_state_of_charge_pct",
                                "remaining_capacity",
                                "full_charge_capacity",
                                "capacity_unit",
                                "battery_status",
                                "cell1_mV",
                                "cell2_mV",
                                "cell3_mV",
                                "cell4_mV"};
constexpr int kFirstCellColumn = 11;

// The monitor's clock in milliseconds since its start: real time, or with a
// simulated battery the time that its sleeps passed without taking it.
class MonitorClock {
 public:
  explicit MonitorClock(Program& p) : p_(p), start_(std::chrono::steady_clock::now()), wall_(std::chrono::system_clock::now()) {}

  long long Now() const {
    if (!p_.bus.adapter().PacedInRealTime()) return p_.virtual_milliseconds - virtual_start_;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
  }

  std::string Iso(long long at) const { return IsoUtc(wall_ + std::chrono::milliseconds(at)); }

  // Traced like every pacing sleep; in real time cut short by Ctrl-C.
  void Wait(long long milliseconds) {
    p_.bus.trace().Line("sleep %lld", milliseconds);
    if (!p_.bus.adapter().PacedInRealTime()) {
      p_.virtual_milliseconds += milliseconds;
      return;
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (auto now = std::chrono::steady_clock::now(); now < until && !monitor_stop_requested;
         now = std::chrono::steady_clock::now()) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count();
      platform::SleepMilliseconds(static_cast<int>(std::min<long long>(left, 50)));
    }
  }

 private:
  Program& p_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::system_clock::time_point wall_;
  long long virtual_start_ = p_.virtual_milliseconds;
};

Record Sample(Program& p, int specification_info, const MonitorClock& clock, long long at) {
  Record row;
  row.Set("time", clock.Iso(at));
  row.Set("elapsed_s", static_cast<double>(at) / 1000.0);
  const Scales scales = ScalesOf(p.bus.SMBReadWord(BatteryAddress, 0x03), specification_info);
  row.Word("voltage_mV", p.bus.SMBReadWord(BatteryAddress, 0x09), MilliVolts, scales);
  row.Word("current_mA", p.bus.SMBReadWord(BatteryAddress, 0x0A), SignedMilliAmps, scales);
  row.Word("average_current_mA", p.bus.SMBReadWord(BatteryAddress, 0x0B), SignedMilliAmps, scales);
  row.Word("temperature_C", p.bus.SMBReadWord(BatteryAddress, 0x08), Celsius, scales);
  row.Word("relative_state_of_charge_pct", p.bus.SMBReadWord(BatteryAddress, 0x0D), Number, scales);
  row.CapacityWord("remaining_capacity", p.bus.SMBReadWord(BatteryAddress, 0x0F), Capacity, scales);
  row.CapacityWord("full_charge_capacity", p.bus.SMBReadWord(BatteryAddress, 0x10), Capacity, scales);
  if (scales.battery_mode < 0) {
    row.Fail("capacity_unit", scales.battery_mode);
  } else {
    row.Set("capacity_unit", CapacityUnit(scales));
  }
  row.Word("battery_status", p.bus.SMBReadWord(BatteryAddress, 0x16), Hex, scales);
  const reports::CellVoltageSearch cells = reports::FindCellVoltages(p);
  for (int n = 0; n < 4; ++n) {
    const char* key = kColumns[kFirstCellColumn + n];
    if (cells.error < 0) {
      row.Fail(key, cells.error);
    } else {
      row.Set(key, cells.matched ? Json(cells.cells[n]) : Json(nullptr));
    }
  }
  return row;
}

std::string Field(const Json& value) {
  if (value.is_null()) return "";
  if (value.is_string()) return value.get<std::string>();
  if (value.is_number_float()) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value.get<double>());
    // Trailing zeros say nothing: 25.050 is 25.05, 1.000 is 1.
    std::string number = text;
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.') number.pop_back();
    return number;
  }
  return value.dump();
}

std::string CsvHeader() {
  std::string line;
  for (const char* column : kColumns) line += std::string(column) + ",";
  return line + "errors\n";
}

std::string CsvRow(const Record& row) {
  std::string line;
  for (const char* column : kColumns) line += Field(row.values().at(column)) + ",";
  std::string errors;
  for (const auto& [key, code] : row.errors().items()) {
    errors += (errors.empty() ? "" : ";") + key + "=" + code.dump();
  }
  return line + errors + "\n";
}

// One line on a terminal, written over and over.
class StatusLine {
 public:
  void Show(const Record& row, long long rows) {
    const auto& v = row.values();
    std::string text = Field(v.at("time")) + "  " + Value(v.at("voltage_mV")) + " mV  " +
                       Value(v.at("current_mA")) + " mA  " + Value(v.at("relative_state_of_charge_pct")) + " %  " +
                       Value(v.at("temperature_C")) + " C  rows: " + std::to_string(rows);
    Write(text);
    text_ = std::move(text);
  }
  // The last line once more, ended: Ctrl-C may have taken what was on its
  // way to the terminal.
  void End() {
    if (text_.empty()) return;
    Write(text_);
    std::fputs("\n", stderr);
  }

 private:
  void Write(const std::string& text) {
    const std::size_t pad = text_.size() > text.size() ? text_.size() - text.size() : 0;
    std::fprintf(stderr, "\r%s%s", text.c_str(), std::string(pad, ' ').c_str());
    std::fflush(stderr);
  }
  static std::string Value(const Json& value) { return value.is_null() ? "-" : Field(value); }
  std::string text_;
};

}  // namespace

volatile std::sig_atomic_t monitor_stop_requested = 0;

int Monitor(Program& p, const MonitorOptions& options) {
  const long long interval = std::llround(options.interval_seconds * 1000.0);
  const bool csv = options.format == "csv";
  std::FILE* out = stdout;
  if (!options.output.empty()) {
    out = std::fopen(options.output.c_str(), "w");
    if (out == nullptr) {
      Complain(platform::Printable(options.output, 200) + ": cannot be written: " + std::strerror(errno));
      return kExitUsage;
    }
  }
  const std::string target = options.output.empty() ? "standard output" : platform::Printable(options.output, 200);
  StatusLine status;
  const bool show_status = !options.output.empty() && StandardErrorIsTerminal();
  // SpecificationInfo's scales do not change while the pack is on the bus.
  const int specification_info = p.bus.SMBReadWord(BatteryAddress, 0x1A);
  MonitorClock clock(p);
  bool written = !csv || WriteWhole(out, CsvHeader());
  long long rows = 0;
  for (long long tick = 0; written && !monitor_stop_requested;) {
    const Record row = Sample(p, specification_info, clock, clock.Now());
    if (monitor_stop_requested != 0) break;  // a sample cut short by Ctrl-C is not written
    written = WriteWhole(out, csv ? CsvRow(row) : row.Document().dump(-1, ' ', true) + "\n");
    if (!written) break;
    ++rows;
    if (show_status) status.Show(row, rows);
    if (options.count && rows >= *options.count) break;
    // The next tick still ahead: the schedule holds however long a sample takes.
    const long long now = clock.Now();
    tick = std::max(tick + 1, now / interval + 1);
    clock.Wait(tick * interval - now);
  }
  if (show_status) status.End();
  if (!written) Complain(target + ": writing failed: " + std::strerror(errno));
  if (out != stdout) std::fclose(out);
  return written ? kExitSuccess : kExitNoBattery;
}

}  // namespace cli
