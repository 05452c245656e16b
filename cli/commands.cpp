#include "cli/commands.h"

#include <cstdint>

#include "cli/battery_read.h"
#include "cli/gauge_family.h"
#include "cli/gauge_mode.h"
#include "cli/read_text.h"
#include "cli/session.h"
#include "platform/common/printable.h"

namespace cli {

using core::BatteryAddress;
using core::Program;
using platform::White;

namespace {

constexpr const char* kUnknownGauge = "unknown gauge: standard Smart Battery data only";

// A report of another family on this gauge reads its registers as what they
// are not (a bq40z seen through the bq20z report looks sealed and failed).
void WarnOfOtherFamily(const std::string& device_name, Family found, const FamilyInfo& asked) {
  const FamilyInfo& fits = InfoOf(found);
  const std::string gauge = device_name.empty() ? std::string("a ") + fits.name + " gauge" : platform::Printable(device_name);
  Complain("warning: the " + std::string(asked.name) + " report does not fit this gauge (" + gauge +
           "); the report that fits is: vantrel report " + fits.name);
}

}  // namespace

int Detect(Program& p) {
  const BatteryText device_name = ReadBatteryText(p, 0x21);
  const BatteryText manufacturer = ReadBatteryText(p, 0x20);
  const Identification found = IdentifyGauge(p, device_name.bytes);
  PrintTextRow(p.con, "Device name", device_name);
  PrintTextRow(p.con, "Manufacturer", manufacturer);
  if (found.device_type) {
    PrintLabel(p.con, "Device type");
    p.con.Print(White, "0x%04X (%s)\n", static_cast<unsigned>(*found.device_type), found.device_type_path);
  }
  if (!found.family) {
    p.con.Print(White, "%s\n", kUnknownGauge);
    return kExitSuccess;
  }
  const FamilyInfo& info = InfoOf(*found.family);
  PrintLabel(p.con, "Family");
  p.con.Print(White, "%s (by the %s)\n", info.name, found.evidence);
  PrintLabel(p.con, "Menu choice");
  p.con.Print(White, "%c (vantrel report %s)\n", info.menu_choice, info.name);
  if (*found.family == Family::bq9000) {
    const GaugeMode mode = ModeOfGauge(p, found);
    PrintLabel(p.con, "Mode");
    p.con.Print(White, "%s%s\n", ModeName(mode), GivesNoBatteryData(mode) ? " (no battery data)" : "");
  }
  return kExitSuccess;
}

int Report(Program& p, const std::string& family) {
  const BatteryText device_name = ReadBatteryText(p, 0x21);
  const Identification found = IdentifyGauge(p, device_name.bytes);
  const FamilyInfo* info = FamilyNamed(family);
  if (info != nullptr && found.family && *found.family != info->family) {
    WarnOfOtherFamily(device_name.bytes, *found.family, *info);
  }
  if (info == nullptr) {
    if (!found.family) {
      Complain(std::string("no report fits this battery (") + kUnknownGauge +
               "); name one: vantrel report bq20z|bq30z|bq40z|bq9000");
      return kExitNoBattery;
    }
    info = &InfoOf(*found.family);
  }
  info->report(p);
  return kExitSuccess;
}

int Read(Program& p, bool json) {
  const BatteryReading reading = ReadBattery(p);
  if (const GaugeMode mode = ModeOfGauge(p, reading.identification); GivesNoBatteryData(mode)) {
    Complain(std::string("the gauge is in ") + ModeName(mode) + " mode and gives no battery data");
    return kExitNoBattery;
  }
  const Record record = Decode(reading);
  if (json) {
    // ASCII only: battery text comes out escaped, never as raw bytes.
    const std::string document = record.Document().dump(2, ' ', true) + "\n";
    p.con.Write(document.data(), document.size());
  } else {
    PrintBatteryText(p.con, reading, record);
  }
  return kExitSuccess;
}

}  // namespace cli
