#include "reports/battery_values.h"

#include <algorithm>
#include <cstring>

namespace reports {

using namespace core;

int ReadCapacityMode(Program& p, int sleep_ms) {
  p.status = p.bus.SMBReadWord(BatteryAddress, 0x03);
  if (sleep_ms != kNoSleep) p.Sleep(sleep_ms);
  return (p.status & 0x8000) != 0 ? 1 : 0;
}

void ContinueCapacity(Program& p, int value, int capacity_mode) {
  if (capacity_mode == 0) {
    p.con.Continue("%u mAh\n", static_cast<unsigned>(value));
  } else {
    p.con.Continue("%u0 mWh\n", static_cast<unsigned>(value));
  }
}

void PrintManufactureDate(Program& p, int word) {
  p.con.Print(Yellow, "%04x ", static_cast<unsigned>(word));
  p.con.Print(Cyan, "%u.%02u.%02u\n", static_cast<unsigned>((word >> 9) + 1980),
              static_cast<unsigned>((word >> 5) & 0x0F), static_cast<unsigned>(word & 0x1F));
}

float Celsius(int word) { return static_cast<float>(word * 0.1 - 273.15); }

void ContinueBlockText(Program& p, const std::uint8_t* buffer, std::size_t capacity, int count) {
  if (count > 0) {
    // A reply longer than the buffer was cut at the buffer's end.
    p.con.WriteBatteryText(buffer, std::min(static_cast<std::size_t>(count), capacity));
  }
  p.con.NewLine();
}

void ContinueChemistry(Program& p) {
  // A block that fills the buffer has no terminating zero inside it.
  const std::size_t length = strnlen(p.tempStr, sizeof p.tempStr);
  p.con.WriteBatteryText(reinterpret_cast<const std::uint8_t*>(p.tempStr), length);
  p.con.NewLine();
  // The whole buffer, so that no longer earlier text shows through a shorter one.
  std::memset(p.tempStr, 0, sizeof p.tempStr);
}

void DeltaCapacity(Program& p) {
  const long long design = p.bus.SMBReadWord(BatteryAddress, 0x18);
  const long long full = p.bus.SMBReadWord(BatteryAddress, 0x10);
  p.con.Print(Cyan, " Delta-Capacity ");
  p.con.Print(White, "(DesCap-FCC):    ");
  p.con.SetColour(Yellow);
  if (design == 0) {
    // A design value of 0 has no percentage; say why instead of dividing by it.
    p.con.Continue("n/a (Design Capacity is 0)\n");
    return;
  }
  // 64-bit: an error code in either word must not overflow the difference.
  long long percent = 0;
  if (design <= full) {
    p.con.Continue("+");
    percent = (full - design) * 100 / design;
  } else {
    p.con.Continue("-");
    percent = (design - full) * 100 / design;
  }
  p.con.Continue("%u %%      \n", static_cast<unsigned>(percent));
}

}  // namespace reports
