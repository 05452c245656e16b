// The bq9000-family report's rows: mode rules and lines, battery lines,
// registers and the texts of the state word's bit fields.

#include <climits>

#include "reports/bq9000/internal.h"
#include "reports/smart_battery_flags.h"

namespace reports::bq9000_family {

using namespace core;

const ModeRule kModeRules[] = {
    {.word72 = 0, .min0d = INT_MIN, .max0d = INT_MAX, .boot_rom = 0, .line = DetectionLine::Word72},
    {.word72 = 0x1111, .min0d = INT_MIN, .max0d = INT_MAX, .boot_rom = 3, .line = DetectionLine::Word72},
    {.word72 = kNoReply, .min0d = INT_MIN, .max0d = 100, .boot_rom = 0, .line = DetectionLine::Word0D},
    {.word72 = kNoReply, .min0d = 0x0502, .max0d = 0x0502, .boot_rom = 2, .line = DetectionLine::BootRomWord},
    {.word72 = kNoReply, .min0d = 0x0504, .max0d = 0x0504, .boot_rom = 2, .line = DetectionLine::BootRomWord},
    {.word72 = kNoReply, .min0d = 0x0301, .max0d = 0x0301, .boot_rom = 2, .line = DetectionLine::BootRomWord},
    {.word72 = kNoReply, .min0d = 0x9002, .max0d = 0x9002, .boot_rom = 1, .line = DetectionLine::BootRomWord},
    {.word72 = kNoReply, .min0d = INT_MIN, .max0d = INT_MAX, .boot_rom = 4, .line = DetectionLine::None},
    {.word72 = kAnyOther, .min0d = INT_MIN, .max0d = INT_MAX, .boot_rom = 4, .line = DetectionLine::None},
};

const ModeLine kModeLines[] = {
    {.boot_rom = 0, .prefix = "     DEVICE starting in ", .name = "Normal-mode", .report_goes_on = true},
    {.boot_rom = 1, .prefix = "     DEVICE starting in ", .name = "BOOT-ROM mod", .report_goes_on = false},
    {.boot_rom = 2, .prefix = "     DEVICE starting in ", .name = "BOOT-ROM mod", .report_goes_on = false},
    {.boot_rom = 3, .prefix = "   DEVICE starting in ", .name = "Calibration-mode", .report_goes_on = false},
    {.boot_rom = 4, .prefix = "    DEVICE starting in ", .name = "UNCKNOWN-mode", .report_goes_on = true},
};

const StandardLine kStandardLines[] = {
    {.label = " Design Capacity:            ", .label_colour = Yellow, .value_colour = White,
     .command = 0x18, .sleep_ms = 0, .rule = ValueRule::Capacity},
    {.label = " Full Charge Capacity:...... ", .label_colour = Cyan, .value_colour = Yellow,
     .command = 0x10, .rule = ValueRule::Capacity, .order = Order::LabelFirst},
    {.label = " Cycle Count:                ", .label_colour = Magenta, .value_colour = Green,
     .command = 0x17, .rule = ValueRule::Decimal, .order = Order::LabelFirst},
    {.label = " Manufacture Date:..... ", .label_colour = Cyan, .value_colour = Yellow,
     .command = 0x1B, .rule = ValueRule::Date},
    {.label = " Design Voltage:             ", .label_colour = Yellow, .value_colour = White,
     .command = 0x19, .rule = ValueRule::MilliVolts, .order = Order::LabelFirst},
    {.label = " Manufacturer Name:......... ", .label_colour = Red, .value_colour = Red,
     .command = 0x20, .sleep_ms = 0, .rule = ValueRule::Text},
    {.label = " Device Name:                ", .label_colour = Green, .value_colour = Green,
     .command = 0x21, .sleep_ms = 0, .rule = ValueRule::Text},
    {.label_colour = Magenta, .value_colour = Magenta, .command = 0x1C, .rule = ValueRule::SerialLine},
    {.label = " Charging Voltage:           ", .label_colour = Yellow, .value_colour = Yellow,
     .command = 0x15, .rule = ValueRule::MilliVolts, .order = Order::LabelFirst},
    {.label = " Charging Current:.......... ", .label_colour = White, .value_colour = White,
     .command = 0x14, .rule = ValueRule::MilliAmps, .order = Order::LabelFirst},
    {.label = " Device Chemistry:           ", .label_colour = Cyan, .value_colour = Red,
     .command = 0x22, .rule = ValueRule::Chemistry},
    {.label_colour = Magenta, .value_colour = Magenta, .command = 0x08, .rule = ValueRule::TemperatureLine},
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
     .command = 0x0C, .sleep_ms = 0, .rule = ValueRule::Percent},
};

namespace {

const StateText kErrorCodes[] = {
    {.value = 0, .colour = Green, .text = " OK"},
    {.value = 1, .colour = Yellow, .text = " BUSY"},
    {.value = 3, .colour = Red, .text = " Unsupport Command"},
    {.value = 4, .colour = Red, .text = " Access Denied"},
    {.value = 5, .colour = Red, .text = " OverFlow/UnderFlow"},
    {.value = 6, .colour = Red, .text = " Bad Size DATA"},
    {.value = 7, .colour = Red, .text = " Unknown Error"},
};
const StateLine kErrorLine[] = {{.low_bit = 0, .width = 4, .texts = kErrorCodes}};

// The ManufacturerAccess word of this family packs the protection and charge
// state of the pack.
const StateText kChargeControl[] = {
    {.value = 0, .colour = Green, .text = " Normal"},
    {.value = 1, .colour = Red, .text = " Over Charge Wait"},
    {.value = 2, .colour = Green, .text = " Charging Current control"},
};
const StateText kCellDifference[] = {
    {.value = 0, .colour = Cyan, .text = " Cell-Volt diff (Max-Min) < 300mV Full-CHG"},
    {.value = 1, .colour = Cyan, .text = " Cell-Volt diff (Max-Min) => 300mV Full-CHG"},
};
const StateText kFccCorrection[] = {
    {.value = 0, .colour = White, .text = " FCC => 40% PRE-FCC Correction"},
    {.value = 1, .colour = Red, .text = " FCC < 40% PRE-FCC Correction"},
};
const StateText kErrorState[] = {
    {.value = 0, .colour = Yellow, .text = " Normal"},
    {.value = 1, .colour = Red, .text = " Over-Volt det HW"},
    {.value = 2, .colour = Red, .text = " Over-Volt det SW"},
    {.value = 3, .colour = Red, .text = " FET Error"},
    {.value = 4, .colour = Red, .text = " Cell-Short Error"},
    {.value = 5, .colour = Red, .text = " Cell imbalance Error"},
    {.value = 7, .colour = Red, .text = " Over Temp Error CHG"},
    {.value = 8, .colour = Red, .text = " Over Temp Error DSG"},
    {.value = 10, .colour = Red, .text = " Deeply DSG Error"},
    {.value = 12, .colour = Red, .text = " FET Temp Error"},
    {.value = 13, .colour = Red, .text = " Capacity Timer Error"},
};
const StateText kProtectionState[] = {
    {.value = 0, .colour = Green, .text = " Normal"},
    {.value = 2, .colour = Green, .text = " Fully CHG"},
    {.value = 3, .colour = Red, .text = " Over Temp for CHG"},
    {.value = 4, .colour = Red, .text = " Over Temp for DSG"},
    {.value = 5, .colour = Red, .text = " Over DSG"},
    {.value = 6, .colour = Red, .text = " Over CHG det S/W"},
    {.value = 8, .colour = Red, .text = " DSG over Current det S/W"},
    {.value = 9, .colour = Red, .text = " CHG over Current det S/W"},
    {.value = 10, .colour = Red, .text = " Over Current det H/W"},
    {.value = 12, .colour = Red, .text = " Vpack Low detect"},
    {.value = 15, .colour = Red, .text = " SYSTEM fail(Err_CHKsumm,MEM,AFE,WhachDog,Slp)"},
};
const StateText kChargePhase[] = {
    {.value = 0, .colour = Red, .text = " No CHG"},
    {.value = 1, .colour = Green, .text = " Pre CHG"},
    {.value = 2, .colour = Green, .text = " Normal CHG"},
    {.value = 3, .colour = Green, .text = " Pulse CHG"},
};
const StateText kDischargeFet[] = {
    {.value = 0, .colour = Red, .text = " DSG FET OFF"},
    {.value = 1, .colour = Yellow, .text = " DSG FET ON"},
};
const StateText kChargeFet[] = {
    {.value = 0, .colour = Red, .text = " CHG FET OFF"},
    {.value = 1, .colour = Yellow, .text = " CHG FET ON"},
};

const StateLine kManufacturerAccessLines[] = {
    {.low_bit = 0, .width = 2, .texts = kChargeControl},
    {.low_bit = 2, .width = 1, .texts = kCellDifference},
    {.low_bit = 3, .width = 1, .texts = kFccCorrection},
    {.low_bit = 4, .width = 4, .texts = kErrorState},
    {.low_bit = 8, .width = 4, .texts = kProtectionState},
    {.low_bit = 12, .width = 2, .texts = kChargePhase},
    {.low_bit = 14, .width = 1, .texts = kDischargeFet},
    {.low_bit = 15, .width = 1, .texts = kChargeFet},
};
}  // namespace

// This family's BatteryStatus line stops at bit 4: its error code has a line
// of its own. ManufacturerAccess is read without a command written first.
const RegisterLine kStatusSection[] = {
    {.reg = 0x16, .label = " BatteryStatus (0x16):...... ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Word, .source = Source::Word, .kept_in = &ProgramState::tempWord, .sleep_ms = 1,
     .flags = kBatteryStatusFlags, .rule = LineRule::Always, .low_bit = 4, .states = kErrorLine, .separator = 38},
    {.reg = 0x03, .label = " BatteryMode (0x03):........ ", .label_colour = Cyan, .value_colour = Yellow,
     .form = ValueForm::Word, .source = Source::Word, .sleep_ms = 0, .flags = kBatteryModeFlags,
     .rule = LineRule::Always, .separator = 38},
    {.reg = 0x00, .label = " Manufacturer Access (0x00): ", .label_colour = Yellow, .value_colour = White,
     .form = ValueForm::Word, .source = Source::Word, .kept_in = &ProgramState::tempWord, .sleep_ms = 1,
     .order = Order::LabelThenRead, .states = kManufacturerAccessLines, .separator = 38},
};

}  // namespace reports::bq9000_family
