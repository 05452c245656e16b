// The bq20z report's rows: its battery lines, registers, seal states, keys
// and FET fields (the flag names are in flags.cpp).

#include "reports/bq20z/internal.h"
#include "reports/smart_battery_flags.h"

namespace reports::bq20z_family {

using namespace core;

// Each read, its sleep, then its line.
const StandardLine kStandardLines[] = {
    {.label = " Design Capacity:            ", .label_colour = Yellow, .value_colour = White,
     .command = 0x18, .sleep_ms = 1, .rule = ValueRule::Capacity},
    {.label = " Full Charge Capacity:...... ", .label_colour = Cyan, .value_colour = Yellow,
     .command = 0x10, .sleep_ms = 1, .rule = ValueRule::Capacity},
    {.label = " Cycle Count:                ", .label_colour = Red, .value_colour = White,
     .command = 0x17, .sleep_ms = 1, .rule = ValueRule::Decimal},
    {.label = " Manufacture Date:..... ", .label_colour = Cyan, .value_colour = Yellow,
     .command = 0x1B, .rule = ValueRule::Date},
    {.label = " Design Voltage:             ", .label_colour = Yellow, .value_colour = White,
     .command = 0x19, .sleep_ms = 1, .rule = ValueRule::MilliVolts},
    {.label = " Manufacturer Name:......... ", .label_colour = Red, .value_colour = Red,
     .command = 0x20, .sleep_ms = 2, .rule = ValueRule::Text},
    {.label = " Device Name:                ", .label_colour = Green, .value_colour = Green,
     .command = 0x21, .sleep_ms = 2, .rule = ValueRule::Text},
    {.label = " Serial Number:............. ", .label_colour = Magenta, .value_colour = Magenta,
     .command = 0x1C, .sleep_ms = 1, .rule = ValueRule::HexUpper},
    {.label = " Charging Voltage:           ", .label_colour = Yellow, .value_colour = Yellow,
     .command = 0x15, .sleep_ms = 1, .rule = ValueRule::MilliVolts},
    {.label = " Charging Current:.......... ", .label_colour = White, .value_colour = White,
     .command = 0x14, .sleep_ms = 1, .rule = ValueRule::MilliAmps},
    {.label = " Device Chemistry:           ", .label_colour = Cyan, .value_colour = Red,
     .command = 0x22, .sleep_ms = 2, .rule = ValueRule::Chemistry},
    {.label = " Temperature:............... ", .label_colour = Magenta, .value_colour = White,
     .command = 0x08, .sleep_ms = 1, .rule = ValueRule::Celsius},
    {.label = " Voltage:                    ", .label_colour = Yellow, .value_colour = Yellow,
     .command = 0x09, .sleep_ms = 1, .rule = ValueRule::MilliVolts},
    {.label = " Current:................... ", .label_colour = White, .value_colour = White,
     .command = 0x0A, .sleep_ms = 1, .rule = ValueRule::SignedMilliAmps},
    {.label_colour = Cyan, .value_colour = Cyan, .command = 0x0D, .rule = ValueRule::RelativeSocLine},
    {.label_colour = Green, .value_colour = Green, .command = 0x0E, .rule = ValueRule::AbsoluteSocLine},
    {.label = " Remaining Capacity:         ", .label_colour = Yellow, .value_colour = Magenta,
     .command = 0x0F, .rule = ValueRule::Capacity},
};

const StandardLine kSpecificationInfo[] = {
    {.label = " Specification Info:........ ", .label_colour = Yellow, .value_colour = Green,
     .command = 0x1A, .rule = ValueRule::HexLower},
};

const StandardLine kMaxError[] = {
    {.label = " Max Error:                  ", .label_colour = White, .value_colour = White,
     .command = 0x0C, .sleep_ms = 1, .rule = ValueRule::Percent},
};

// Battery Status is labelled before its read; Operation Status has no
// separator: the seal check brings its own.
const RegisterLine kStatusWords[] = {
    {.reg = 0x16, .label = " Battery Status (0x16):..... ", .label_colour = White, .value_colour = Yellow,
     .form = ValueForm::Word, .source = Source::Word, .kept_in = &ProgramState::tempWord, .sleep_ms = 1,
     .order = Order::LabelThenRead, .flags = kBatteryStatusFlags, .rule = LineRule::Always, .separator = 39},
    {.reg = 0x03, .label = " BatteryMode (0x03):........ ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Word, .source = Source::Word, .sleep_ms = 1, .flags = kBatteryModeFlags,
     .rule = LineRule::Always, .separator = 38},
    {.reg = 0x0054, .label = " Operation Status (0x54):... ", .label_colour = Yellow, .value_colour = White,
     .form = ValueForm::Word, .flags = kOperationStatusFlags, .rule = LineRule::Always},
};

const RegisterLine kProtectionRegisters[] = {
    {.reg = 0x0051, .label = " Safety Status (0x51):...... ", .label_colour = White, .value_colour = Yellow,
     .form = ValueForm::WordLower, .flags = kSafetyStatusFlags, .rule = LineRule::Always,
     .no_flags = NoFlagsText::GreenInLine, .separator = 37},
    {.reg = 0x0053, .label = " PF Status (0x53):.......... ", .label_colour = White, .value_colour = Yellow,
     .form = ValueForm::WordLower, .flags = kPfStatusFlags, .rule = LineRule::Always,
     .no_flags = NoFlagsText::GreenInLine, .separator = 37},
    {.reg = 0x0055, .label = " Charging Status (0x55):.... ", .label_colour = Yellow, .value_colour = White,
     .form = ValueForm::WordLower, .flags = kChargingStatusFlags, .rule = LineRule::Always, .separator = 37},
};

const RegisterLine kVersionWords[] = {
    {.reg = 0x0001, .label = " Device Type:     (0x0001):. ", .label_colour = Yellow, .value_colour = White,
     .form = ValueForm::WordLower},
    {.reg = 0x0002, .label = " Firmware Version:(0x0002):. ", .label_colour = Magenta, .value_colour = Yellow,
     .form = ValueForm::WordLower},
    {.reg = 0x0003, .label = " Hardware Version:(0x0003):. ", .label_colour = Cyan, .value_colour = White,
     .form = ValueForm::WordLower},
    {.reg = 0x0008, .label = " Chemisry ID:(0x0008):...... ", .label_colour = White, .value_colour = Yellow,
     .form = ValueForm::WordLower, .separator = 37},
};

const SealState kSealStates[] = {
    {.bits = 0x6000, .colour = Red, .line = " Device....................... SEALED", .mode = 0},
    {.bits = 0x4000, .colour = Green, .line = " Device..................... UNSEALED", .mode = 1},
    {.bits = 0x0000, .colour = Green, .line = " Device.................. Full Access", .mode = 2},
};

const KeyLine kKeyLines[] = {
    {.command = 0x60, .label = " UnSeal: .... ", .colour = Yellow, .first = &ProgramState::UnsealKEY1,
     .second = &ProgramState::UnsealKEY2},
    {.command = 0x61, .label = " Full-Access: ", .colour = Green, .first = &ProgramState::FASKEY1,
     .second = &ProgramState::FASKEY2},
    {.command = 0x62, .label = " PF Key: .... ", .colour = White},
};

const FetBit kUnsealedFetBits[] = {{" Pre-CHG=", 0x08}, {" CHG=", 0x04}, {" DHG=", 0x02}};

const SealedFetState kSealedFetStates[] = {
    {.charge_on = true, .discharge_on = true},    // 0
    {.charge_on = false, .discharge_on = true},   // 1
    {.charge_on = false, .discharge_on = false},  // 2
    {.charge_on = true, .discharge_on = false},   // 3
};

const char* const kQmaxCellText[] = {"Cell-0:                ", "Cell-1: .............. ",
                                     "Cell-2:                ", "Cell-3: .............. "};

}  // namespace reports::bq20z_family
