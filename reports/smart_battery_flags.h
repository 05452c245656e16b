#pragma once
// The flag names of the two Smart Battery status words, one table each for
// every report and the command line. A family that shows fewer bits chooses
// them where it prints the line.

#include "reports/flag_lines.h"

namespace reports {

inline constexpr FlagName kBatteryStatusFlags[] = {
    {15, " OCA"}, {14, " TCA"}, {12, " OTA"}, {11, " TDA"}, {9, " RCA"}, {8, " RTA"}, {7, " INIT"},
    {6, " DSG"},  {5, " FC"},   {4, " FD"},   {3, " EC3"},  {2, " EC2"}, {1, " EC1"}, {0, " EC0"},
};

inline constexpr FlagName kBatteryModeFlags[] = {
    {15, " CapM"}, {14, " ChgM"}, {13, " AM"}, {9, " PB"}, {8, " CC"}, {7, " CF"}, {1, " PBS"}, {0, " ICC"},
};

}  // namespace reports
