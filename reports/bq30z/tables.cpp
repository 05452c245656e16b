// The bq30z report's rows: its battery lines, registers and seal states (the
// flag names are in flags.cpp).

#include "reports/bq30z/internal.h"
#include "reports/smart_battery_flags.h"

namespace reports::bq30z_family {

using namespace core;

const StandardLine kStandardLines[] = {
    {.label = " Design Capacity:            ", .label_colour = Yellow, .value_colour = White,
     .command = 0x18, .rule = ValueRule::Capacity},
    {.label = " Full Charge Capacity:...... ", .label_colour = Cyan, .value_colour = Yellow,
     .command = 0x10, .rule = ValueRule::Capacity},
    {.label = " Cycle Count:                ", .label_colour = Magenta, .value_colour = Green,
     .command = 0x17, .rule = ValueRule::Decimal},
    {.label = " Manufacture Date:..... ", .label_colour = Cyan, .value_colour = Yellow,
     .command = 0x1B, .rule = ValueRule::Date},
    {.label = " Design Voltage:             ", .label_colour = Yellow, .value_colour = White,
     .command = 0x19, .rule = ValueRule::MilliVolts},
    {.label = " Manufacturer Name:......... ", .label_colour = Red, .value_colour = Red,
     .command = 0x20, .sleep_ms = 3, .rule = ValueRule::Text},
    {.label = " Device Name:                ", .label_colour = Green, .value_colour = Green,
     .command = 0x21, .sleep_ms = 3, .rule = ValueRule::Text},
    {.label_colour = Magenta, .value_colour = Magenta, .command = 0x1C, .rule = ValueRule::SerialLine},
    {.label = " Charging Voltage:           ", .label_colour = Yellow, .value_colour = Yellow,
     .command = 0x15, .rule = ValueRule::MilliVolts},
    {.label = " Charging Current:.......... ", .label_colour = White, .value_colour = White,
     .command = 0x14, .rule = ValueRule::MilliAmps},
    {.label = " Device Chemistry:           ", .label_colour = Cyan, .value_colour = Red,
     .command = 0x22, .sleep_ms = 3, .rule = ValueRule::Text},
    {.label_colour = Green, .value_colour = Green, .command = 0x08, .rule = ValueRule::TemperatureLine},
    {.label = " Voltage:                    ", .label_colour = Yellow, .value_colour = Yellow,
     .command = 0x09, .rule = ValueRule::MilliVolts},
    {.label = " Current:................... ", .label_colour = White, .value_colour = White,
     .command = 0x0A, .rule = ValueRule::SignedMilliAmps},
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
    {.label = " Max Error:                  ", .label_colour = Cyan, .value_colour = White,
     .command = 0x0C, .rule = ValueRule::Percent},
};

// Battery Status sets the value colour before its read.
const RegisterLine kBatteryStatus[] = {
    {.reg = 0x16, .label = " Battery Status (0x16):...... ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Word, .source = Source::Word, .kept_in = &ProgramState::tempWord, .order = Order::LabelFirst,
     .flags = kBatteryStatusFlags, .rule = LineRule::Always},
};

// No separator: the seal check that follows starts with one.
const RegisterLine kOperationStatus[] = {
    {.reg = 0x0054, .label = " Operation Status (0x54): ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes3210, .flags = kOperationStatusFlags, .rule = LineRule::UpperHalfFirst},
};

// Byte 3 of Charging Status is neither shown nor decoded; PF Status shows its
// lower half first, in the value and in the lines.
const RegisterLine kGaugeStatusRegisters[] = {
    {.reg = 0x0056, .label = " Gauging Status (0x0056):.... ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes10, .flags = kGaugingStatusFlags, .rule = LineRule::Always},
    {.reg = 0x0057, .label = " Manufacturing Status(0x0057):", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes10, .flags = kManufacturingStatusFlags, .rule = LineRule::WhenSet},
    {.reg = 0x0051, .label = " Safety Status (0x51):... ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes3210, .flags = kSafetyStatusFlags, .rule = LineRule::UpperHalfFirst,
     .no_flags = NoFlagsText::WhiteLineAtZero},
    {.reg = 0x0053, .label = " PF Status (0x53):....... ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes1032, .flags = kPfStatusFlags, .rule = LineRule::LowerHalfFirst,
     .no_flags = NoFlagsText::WhiteLineAtZero},
    {.reg = 0x0055, .label = " Charging Status (0x55):... ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes210, .flags = kChargingStatusFlags, .rule = LineRule::Always, .high_bit = 23},
};

// The firmware version sits in the second word of its reply.
const RegisterLine kIdentification[] = {
    {.reg = 0x0001, .label = " Device Type(0x0001) :....... ", .label_colour = Yellow, .value_colour = Red,
     .form = ValueForm::Bytes10},
    {.reg = 0x0002, .label = " Firmware Version(0x0002) :.. ", .label_colour = Cyan, .value_colour = White,
     .form = ValueForm::Bytes23},
    {.reg = 0x0003, .label = " Hardware Version(0x0003) :.. ", .label_colour = Magenta, .value_colour = Red,
     .form = ValueForm::Bytes10},
    {.reg = 0x0006, .label = " Chemistry ID(0x0006) :...... ", .label_colour = White, .value_colour = Yellow,
     .form = ValueForm::Bytes10},
};

const SealState kSealStates[] = {
    {.bits = 3, .colour = Red, .line = " Device........................ SEALED", .mode = 0},
    {.bits = 2, .colour = Green, .line = " Device...................... UNSEALED", .mode = 1},
    {.bits = 1, .colour = Green, .line = " Device......... UNSEALED & FullAccess", .mode = 2},
};

const char* const kQmaxLabel[] = {
    " Qmax Cell-0:                ",
    " Qmax Cell-1: .............. ",
    " Qmax Cell-2:                ",
    " Qmax Cell-3: .............. ",
};

}  // namespace reports::bq30z_family
