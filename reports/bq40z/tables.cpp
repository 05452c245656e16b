// The bq40z report's rows: its battery lines, registers, seal states and
// Qmax layouts (the flag names are in flags.cpp).

#include "reports/bq40z/internal.h"
#include "reports/smart_battery_flags.h"

namespace reports::bq40z_family {

using namespace core;

const StandardLine kStandardLines[] = {
    {.label = " Design Capacity:            ", .label_colour = Yellow, .value_colour = White,
     .command = 0x18, .sleep_ms = 0, .rule = ValueRule::Capacity},
    {.label = " Full Charge Capacity:...... ", .label_colour = Cyan, .value_colour = Yellow,
     .command = 0x10, .rule = ValueRule::Capacity, .order = Order::LabelFirst},
    {.label = " Cycle Count:                ", .label_colour = Magenta, .value_colour = White,
     .command = 0x17, .rule = ValueRule::Decimal, .order = Order::LabelFirst},
    {.label = " Manufacture Date:..... ", .label_colour = Cyan, .value_colour = Yellow,
     .command = 0x1B, .rule = ValueRule::Date},
    {.label = " Design Voltage:             ", .label_colour = Yellow, .value_colour = White,
     .command = 0x19, .rule = ValueRule::MilliVolts, .order = Order::LabelFirst},
    {.label = " Manufacturer Name:......... ", .label_colour = Red, .value_colour = Red,
     .command = 0x20, .rule = ValueRule::Text},
    {.label = " Device Name:                ", .label_colour = Green, .value_colour = Green,
     .command = 0x21, .rule = ValueRule::Text},
    {.label = " Serial Number:............. ", .label_colour = Cyan, .value_colour = Cyan,
     .command = 0x1C, .rule = ValueRule::HexUpperCaps, .order = Order::LabelFirst},
    {.label = " Charging Voltage:           ", .label_colour = Yellow, .value_colour = Yellow,
     .command = 0x15, .rule = ValueRule::MilliVolts, .order = Order::LabelFirst},
    {.label = " Charging Current:.......... ", .label_colour = White, .value_colour = White,
     .command = 0x14, .rule = ValueRule::MilliAmps, .order = Order::LabelFirst},
    {.label = " Device Chemistry:           ", .label_colour = Magenta, .value_colour = Magenta,
     .command = 0x22, .rule = ValueRule::Text},
    {.label_colour = Cyan, .value_colour = Cyan, .command = 0x08, .rule = ValueRule::TemperatureLine},
    {.label = " Voltage:                    ", .label_colour = Yellow, .value_colour = Yellow,
     .command = 0x09, .rule = ValueRule::MilliVolts, .order = Order::LabelFirst},
    {.label = " Current:................... ", .label_colour = White, .value_colour = White,
     .command = 0x0A, .rule = ValueRule::SignedMilliAmps, .order = Order::LabelFirst},
    {.label_colour = Cyan, .value_colour = Cyan, .command = 0x0D, .rule = ValueRule::RelativeSocLine},
    {.label_colour = Green, .value_colour = Green, .command = 0x0E, .rule = ValueRule::AbsoluteSocLine},
    {.label = " Remaining Capacity:         ", .label_colour = Yellow, .value_colour = Magenta,
     .command = 0x0F, .rule = ValueRule::Capacity},
};

const StandardLine kSpecificationInfo[] = {
    {.label = " Specification Info:........ ", .label_colour = Green, .value_colour = Yellow,
     .command = 0x1A, .rule = ValueRule::HexLower, .order = Order::LabelFirst},
};

const StandardLine kMaxError[] = {
    {.label = " Max Error:                  ", .label_colour = Cyan, .value_colour = White,
     .command = 0x0C, .sleep_ms = 1, .rule = ValueRule::Percent},
};

// The words are taken as read, an error code's low 16 bits decoded like data.
// OperationStatus has no separator: the seal check that follows starts with one.
const RegisterLine kStatusWords[] = {
    {.reg = 0x16, .label = " BatteryStatus (0x16):...... ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Word, .source = Source::Word, .kept_in = &ProgramState::tempWord,
     .flags = kBatteryStatusFlags, .rule = LineRule::Always, .separator = kSeparator},
    {.reg = 0x03, .label = " BatteryMode (0x03):........ ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Word, .source = Source::Word, .sleep_ms = 0, .flags = kBatteryModeFlags,
     .rule = LineRule::Always, .separator = kSeparator},
    {.reg = 0x0054, .label = " OperationStatus (0x54):.. ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes3210, .flags = kOperationStatusFlags, .rule = LineRule::UpperHalfFirst},
};

const RegisterLine kGaugeStatusRegisters[] = {
    {.reg = 0x0056, .label = " GaugingStatus (0x0056):.... ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes210, .flags = kGaugingStatusFlags, .rule = LineRule::Split, .separator = kSeparator},
    {.reg = 0x0057, .label = " ManufacturingStatus (0x0057): ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes10, .flags = kManufacturingStatusFlags, .rule = LineRule::WhenSet,
     .separator = kSeparator},
    {.reg = 0x0051, .label = " SafetyStatus (0x51):..... ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes3210, .flags = kSafetyStatusFlags, .rule = LineRule::UpperHalfFirst,
     .no_flags = NoFlagsText::WhiteLine, .separator = kSeparator},
    {.reg = 0x0053, .label = " PFStatus (0x53):......... ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes3210, .flags = kPfStatusFlags, .rule = LineRule::UpperHalfFirst,
     .no_flags = NoFlagsText::WhiteLine, .separator = kSeparator},
    {.reg = 0x0055, .label = " ChargingStatus (0x55):..... ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Bytes210, .flags = kChargingStatusFlags, .rule = LineRule::WhenSet, .high_bit = 23,
     .separator = kSeparator},
};

const RegisterLine kIdentity[] = {
    {.reg = 0x0001, .label = " Device Type(0x0001) :...... ", .label_colour = Yellow, .value_colour = Red,
     .form = ValueForm::Bytes10},
    {.reg = 0x0002, .label = " Firmware Version(0x0002) :. ", .label_colour = Cyan, .value_colour = White,
     .form = ValueForm::Bytes23},
    {.reg = 0x0003, .label = " Hardware Version(0x0003) :. ", .label_colour = Magenta, .value_colour = Cyan,
     .form = ValueForm::Bytes10},
    {.reg = 0x0006, .label = " Chemistry ID(0x0006) :..... ", .label_colour = White, .value_colour = Yellow,
     .form = ValueForm::Bytes10},
};

const SealState kSealStates[] = {
    {.bits = 3, .colour = Red, .line = " Device......................... SEALED", .mode = 0},
    {.bits = 2, .colour = Green, .line = " Device....................... UNSEALED", .mode = 1},
    {.bits = 1, .colour = Green, .line = " Device.......... UNSEALED & FullAccess", .mode = 2},
};

const QmaxLayout kQmaxLayouts[] = {
    {.device_type = 0x9D80, .subcommand = 0x011A, .cell = {0, 2, 4, 6}, .pack = 8, .update_status = 13,
     .ra_base = 320},
    {.device_type = 0x4695, .subcommand = 0x0118, .cell = {4, 6, 8, 10}, .pack = 12, .update_status = 16,
     .ra_base = 256},
    {.device_type = -1, .subcommand = 0x0118, .cell = {6, 8, 10, 12}, .pack = 14, .update_status = 18,
     .ra_base = 256},
};

const char* const kQmaxLabel[] = {
    " Qmax Cell-0:                ",
    " Qmax Cell-1: .............. ",
    " Qmax Cell-2:                ",
    " Qmax Cell-3: .............. ",
};

}  // namespace reports::bq40z_family
