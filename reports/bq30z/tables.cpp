// The bq30z report's rows: its battery lines, registers, flag names and seal states.

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

namespace {

const FlagName kOperationStatusFlags[] = {
    {29, " FetOf"}, {28, " XLSBS"}, {27, " SLPC"}, {26, " SLPQM"}, {25, " SMBLCL"}, {24, " INIT"},
    {23, " SleepM"}, {22, " SDV"},  {21, " CALO"}, {20, " FVS"},   {19, " AWD"},    {18, " AUTH"},
    {17, " SHIPm"}, {16, " SDM"},   {15, " Sleep"}, {14, " XCHG"}, {13, " XDSG"},   {12, " PF"},
    {11, " SS"},    {10, " CAL"},   {9, " SEC1"},  {8, " SEC0"},   {7, " LED"},     {6, " CB"},
    {5, " FUSE"},   {4, " GPOD"},   {3, " PCHG"},  {2, " CHG"},    {1, " DSG"},     {0, " PRES"},
};

const FlagName kGaugingStatusFlags[] = {
    {15, " LFP_RLX"}, {14, " TCA"}, {13, " TDA"}, {12, " OCVFR"}, {11, " LDMD"}, {10, " RX"},
    {9, " QMAX"},     {8, " VDQ"},  {7, " NSFM"}, {6, " FC"},     {5, " FD"},    {4, " QEN"},
    {3, " VOK"},      {2, " RU"},   {1, " DSG"},  {0, " REST"},
};

const FlagName kManufacturingStatusFlags[] = {
    {15, " CAL"}, {9, " LED"}, {8, " FUSE"},  {7, " BBR"}, {6, " PF"},  {5, " LF"},
    {4, " FET"},  {3, " GAUGE"}, {2, " DSG"}, {1, " CHG"}, {0, " PCHG"},
};

const FlagName kSafetyStatusFlags[] = {
    {31, " RSVD"},  {30, " RSVD"},  {29, " RSVD"},  {28, " RSVD"},  {27, " UTD"},   {26, " UTC"},
    {25, " PCHGC"}, {24, " CHGV"},  {23, " CHGC"},  {22, " OC"},    {21, " RSVD"},  {20, " CTO"},
    {19, " RSVD"},  {18, " PTO"},   {17, " HWDF"},  {16, " OTF"},   {15, " RSVD"},  {14, " RSVD"},
    {13, " OTD"},   {12, " OTC"},   {11, " ASCDL"}, {10, " ASCD"},  {9, " ASCCL"},  {8, " ASCC"},
    {7, " AOLDL"},  {6, " AOLD"},   {5, " OCD2"},   {4, " OCD1"},   {3, " OCC2"},   {2, " OCC1"},
    {1, " COV"},    {0, " CUV"},
};

const FlagName kPfStatusFlags[] = {
    {31, " TS4"},  {30, " TS3"},  {29, " TS2"},  {28, " TS1"},  {27, " RSVD"},  {26, " DFW"},
    {25, " OPNC"}, {24, " IFC"},  {23, " PTC"},  {22, " 2LVL"}, {21, " AFEC"},  {20, " AFER"},
    {19, " FUSE"}, {18, " RSVD"}, {17, " DFETF"}, {16, " CFETF"}, {15, " RSVD"}, {14, " RSVD"},
    {13, " RSVD"}, {12, " VIMA"}, {11, " VIMR"}, {10, " RSVD"}, {9, " RSVD"},   {8, " RSVD"},
    {7, " RSVD"},  {6, " SOTF"},  {5, " RSVD"},  {4, " SOT"},   {3, " SOCD"},   {2, " SOCC"},
    {1, " SOV"},   {0, " SUV"},
};

const FlagName kChargingStatusFlags[] = {
    {18, " MCHG"}, {16, " VCT"}, {15, " CCC"}, {14, " CVR"}, {13, " CCR"}, {12, " SU"},
    {11, " IN"},   {10, " HV"},  {9, " MV"},   {8, " LV"},   {7, " PV"},   {6, " OT"},
    {5, " HT"},    {4, " STH"},  {3, " RT"},   {2, " STL"},  {1, " LT"},   {0, " UT"},
};

}  // namespace

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
