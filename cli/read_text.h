#pragma once
// The read command's text form: an aligned two-column list with units, the
// status words' flags by name, and a health block.

#include "cli/battery_read.h"
#include "platform/console.h"

namespace cli {

// A label of the list, padded so that the values line up.
void PrintLabel(platform::Console& con, const char* label);

// A label and a text from the battery, or the code of its failed read.
void PrintTextRow(platform::Console& con, const char* label, const BatteryText& text);

void PrintBatteryText(platform::Console& con, const BatteryReading& reading, const Record& record);

}  // namespace cli
