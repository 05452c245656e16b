#pragma once
// The flag names of the two Smart Battery status words, one table each for
// every report and the command line. A family that shows fewer bits chooses
// them where it prints the line.

#include "reports/flag_lines.h"

namespace reports {

inline constexpr FlagName kBatteryStatusFlags[] = {
    {15, " OCA", "over-charged alarm"},
    {14, " TCA", "terminate charge alarm: the charger should stop"},
    {12, " OTA", "over-temperature alarm"},
    {11, " TDA", "terminate discharge alarm: the host should stop discharging"},
    {9, " RCA", "remaining capacity below its alarm level"},
    {8, " RTA", "remaining time below its alarm level"},
    {7, " INIT", "gauge initialised"},
    {6, " DSG", "discharging or at rest"},
    {5, " FC", "fully charged"},
    {4, " FD", "fully discharged"},
    {3, " EC3", "error code bit 3"},
    {2, " EC2", "error code bit 2"},
    {1, " EC1", "error code bit 1"},
    {0, " EC0", "error code bit 0"},
};

inline constexpr FlagName kBatteryModeFlags[] = {
    {15, " CapM", "capacities in 10 mWh"},
    {14, " ChgM", "charging-value broadcasts off"},
    {13, " AM", "alarm broadcasts off"},
    {9, " PB", "primary battery"},
    {8, " CC", "internal charge controller on"},
    {7, " CF", "condition flag: a learning cycle is needed"},
    {1, " PBS", "primary battery support"},
    {0, " ICC", "internal charge controller"},
};

}  // namespace reports
