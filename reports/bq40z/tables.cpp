// The bq40z report's rows: its battery lines, registers, flag names, seal
// states and Qmax layouts.

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

namespace {

// The byte-0 names end in a blank of their own.
const FlagName kOperationStatusFlags[] = {
    {29, " EMshut"},  {28, " CB"},     {27, " SLPCC"}, {26, " SLPAD"}, {25, " SMBLCL"}, {24, " INIT"},
    {23, " SleepM"},  {22, " XL"},     {21, " CALofs"}, {20, " CAL"},  {19, " ACALM"},  {18, " AUTH"},
    {17, " LED"},     {16, " SDM"},    {15, " Sleep"}, {14, " XCHG"},  {13, " XDSG"},   {12, " PF"},
    {11, " SS"},      {10, " SDV"},    {9, " SEC1"},   {8, " SEC0"},   {7, " BTPint "}, {6, " RSVD "},
    {5, " FUSE "},    {4, " RSVD "},   {3, " PCHG "},  {2, " CHG "},   {1, " DSG "},    {0, " PRES "},
};

const FlagName kGaugingStatusFlags[] = {
    {20, " OCVFR"}, {19, " LDMD"}, {18, " RX"},  {17, " QMAX"}, {16, " VDQ"},
    {15, " NSFM"},  {13, " SlpQmax"}, {12, " QEN"}, {11, " VOK"}, {10, " R_DIS"}, {8, " REST"},
    {7, " CF"},     {6, " DSG"},   {5, " EDV"},  {4, " BAL-En"}, {3, " TC"}, {2, " TD"}, {1, " FC"}, {0, " FD"},
};

const FlagName kManufacturingStatusFlags[] = {
    {15, " CAL"}, {14, " LTtst "}, {9, " LED"}, {8, " FUSE"}, {7, " BBR"}, {6, " PF"},
    {5, " LF"},   {4, " FET"},     {3, " GAUGE"}, {2, " DSG"}, {1, " CHG"}, {0, " PCHG"},
};

const FlagName kSafetyStatusFlags[] = {
    {29, " OCDL"},  {28, " COVL"}, {27, " UTD"},  {26, " UTC"},  {25, " PCHGC"}, {24, " CHGV"},
    {23, " CHGC"},  {22, " OC"},   {20, " CTO"},  {18, " PTO"},  {16, " OTF"},
    {14, " CUVC"},  {13, " OTD"},  {12, " OTC"},  {11, " ASCDL"}, {10, " ASCD"}, {9, " ASCCL"}, {8, " ASCC"},
    {7, " AOLDL"},  {6, " AOLD"},  {5, " OCD2"},  {4, " OCD1"},  {3, " OCC2"},  {2, " OCC1"},  {1, " COV"},
    {0, " CUV"},
};

const FlagName kPfStatusFlags[] = {
    {31, " TS4"},  {30, " TS3"},  {29, " TS2"},  {28, " TS1"},  {26, " DFW"},   {25, " OPNC"}, {24, " IFC"},
    {23, " PTC"},  {22, " 2LVL"}, {21, " AFEC"}, {20, " AFER"}, {19, " FUSE"},  {17, " DFETF"}, {16, " CFETF"},
    {12, " VIMA"}, {11, " VIMR"},
    {6, " SOTF"},  {4, " SOT"},   {3, " SOCD"},  {2, " SOCC"},  {1, " SOV"},    {0, " SUV"},
};

const FlagName kChargingStatusFlags[] = {
    {19, " NCT"}, {18, " CCC"}, {17, " CVR"}, {16, " CCR"},
    {15, " VCT"}, {14, " MCHG"}, {13, " SU"}, {12, " IN"}, {11, " HV"}, {10, " MV"}, {9, " LV"}, {8, " PV"},
    {6, " OT"},   {5, " HT"},   {4, " STH"},  {3, " RT"},  {2, " STL"}, {1, " LT"},  {0, " UT"},
};

}  // namespace

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
