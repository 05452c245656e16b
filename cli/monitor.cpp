#include "cli/monitor.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "cli/battery_read.h"
#include "cli/battery_values.h"
#include "cli/gauge_mode.h"
#include "cli/session.h"
#include "cli/streams.h"
#include "platform/common/printable.h"
#include "platform/files.h"
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

// The monitor's clock in milliseconds since its start: real time, or with
// virtual intervals the time that the simulated battery's sleeps passed
// without taking it. Wall times count milliseconds, so that virtual time
// cannot run past the clock's range in any number of samples.
class MonitorClock {
 public:
  using WallTime = std::chrono::time_point<std::chrono::system_clock, std::chrono::milliseconds>;

  MonitorClock(Program& p, bool virtual_time)
      : p_(p),
        virtual_(virtual_time),
        start_(std::chrono::steady_clock::now()),
        wall_(std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now())) {}

  long long Now() const {
    if (virtual_) return p_.virtual_milliseconds - virtual_start_;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
  }

  std::string Iso(long long at) const { return IsoUtc(wall_ + std::chrono::milliseconds(at)); }

  // Whether a sample at `at` still has a four-digit year, as ISO 8601 writes it.
  bool Representable(long long at) const { return wall_ + std::chrono::milliseconds(at) < kEndOfYear9999; }

  // Traced like every pacing sleep; in real time cut short by Ctrl-C.
  void Wait(long long milliseconds) {
    p_.bus.trace().Line("sleep %lld", milliseconds);
    if (virtual_) {
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
  static constexpr WallTime kEndOfYear9999{
      std::chrono::sys_days{std::chrono::year{10000} / std::chrono::January / 1}.time_since_epoch()};

  Program& p_;
  bool virtual_;
  std::chrono::steady_clock::time_point start_;
  WallTime wall_;
  long long virtual_start_ = p_.virtual_milliseconds;
};

// The bq9000 family's mode words, as its report checks them; the state of
// charge 0x0D, read anyway, is one of them.
struct ModeAndCharge {
  GaugeMode mode;
  int state_of_charge;
};
ModeAndCharge ReadModeAndCharge(Program& p) {
  const int word72 = p.bus.SMBReadWord(BatteryAddress, 0x72);
  const int word0d = p.bus.SMBReadWord(BatteryAddress, 0x0D);
  const reports::bq9000_family::ModeWords words{word72, word72 == smb::kNotAcknowledged ? word0d : 0};
  return {reports::bq9000_family::ModeOf(words), word0d};
}

Record Sample(Program& p, int specification_info, const MonitorClock& clock, long long at) {
  Record row;
  row.Set("time", clock.Iso(at));
  row.Set("elapsed_s", static_cast<double>(at) / 1000.0);
  const ModeAndCharge mode = ReadModeAndCharge(p);
  if (GivesNoBatteryData(mode.mode)) {
    for (const char* column : kColumns) {
      if (!row.values().contains(column)) row.Set(column, nullptr);
    }
    row.Refuse("mode", ModeName(mode.mode));
    return row;
  }
  const Scales scales = ScalesOf(p.bus.SMBReadWord(BatteryAddress, 0x03), specification_info);
  row.Word("voltage_mV", p.bus.SMBReadWord(BatteryAddress, 0x09), MilliVolts, scales);
  row.Word("current_mA", p.bus.SMBReadWord(BatteryAddress, 0x0A), SignedMilliAmps, scales);
  row.Word("average_current_mA", p.bus.SMBReadWord(BatteryAddress, 0x0B), SignedMilliAmps, scales);
  row.Word("temperature_C", p.bus.SMBReadWord(BatteryAddress, 0x08), Celsius, scales);
  row.Word("relative_state_of_charge_pct", mode.state_of_charge, Number, scales);
  row.CapacityWord("remaining_capacity", p.bus.SMBReadWord(BatteryAddress, 0x0F), Capacity, scales);
  row.CapacityWord("full_charge_capacity", p.bus.SMBReadWord(BatteryAddress, 0x10), Capacity, scales);
  if (scales.battery_mode < 0) {
    row.Fail("capacity_unit", scales.battery_mode);
  } else {
    row.Set("capacity_unit", CapacityUnit(scales));
  }
  row.Word("battery_status", p.bus.SMBReadWord(BatteryAddress, 0x16), Hex, scales);
  // Cells that do not add up to the pack voltage are left empty; a failed
  // pack voltage read is already in the row.
  const reports::CellVoltageSearch cells = reports::FindCellVoltages(p);
  const Json list = cells.matched ? CellList(cells) : Json::array({nullptr, nullptr, nullptr, nullptr});
  for (int n = 0; n < 4; ++n) row.Set(kColumns[kFirstCellColumn + n], list[n]);
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
    errors += (errors.empty() ? "" : ";") + key + "=" + Field(code);
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
  const bool to_standard_output = options.output.empty() || options.output == "-";
  std::FILE* out = stdout;
  if (!to_standard_output) {
    out = platform::OpenForWriting(options.output, platform::LineEnds::Text);
    if (out == nullptr) {
      Complain(platform::Printable(options.output, 200) + ": cannot be written: " + std::strerror(errno));
      return kExitUsage;
    }
    platform::Truncate(out);
  }
  const std::string target = to_standard_output ? "standard output" : platform::Printable(options.output, 200);
  StatusLine status;
  const bool show_status = !to_standard_output && StandardErrorIsTerminal();
  // SpecificationInfo's scales do not change while the pack is on the bus.
  const int specification_info = p.bus.SMBReadWord(BatteryAddress, 0x1A);
  MonitorClock clock(p, options.virtual_intervals && !p.bus.adapter().PacedInRealTime());
  bool written = !csv || WriteWhole(out, CsvHeader());
  long long rows = 0;
  bool in_range = true;
  for (long long tick = 0; written && !monitor_stop_requested;) {
    const long long at = clock.Now();
    in_range = clock.Representable(at);
    if (!in_range) break;
    const Record row = Sample(p, specification_info, clock, at);
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
  if (!in_range) Complain("the monitor's clock has reached the year 10000, which a timestamp cannot show");
  if (out != stdout) std::fclose(out);
  return written && in_range ? kExitSuccess : kExitNoBattery;
}

}  // namespace cli
