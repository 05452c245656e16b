#include "reports/bq40z/bq40z.h"
#include "reports/flag_lines.h"
#include "reports/smart_battery_flags.h"

namespace reports::z40 {

using namespace core;

namespace {

constexpr int kSeparator = 39;

// The byte-0 names end in a blank of their own.
const FlagName kOperationStatus[] = {
    {29, " EMshut"},  {28, " CB"},     {27, " SLPCC"}, {26, " SLPAD"}, {25, " SMBLCL"}, {24, " INIT"},
    {23, " SleepM"},  {22, " XL"},     {21, " CALofs"}, {20, " CAL"},  {19, " ACALM"},  {18, " AUTH"},
    {17, " LED"},     {16, " SDM"},    {15, " Sleep"}, {14, " XCHG"},  {13, " XDSG"},   {12, " PF"},
    {11, " SS"},      {10, " SDV"},    {9, " SEC1"},   {8, " SEC0"},   {7, " BTPint "}, {6, " RSVD "},
    {5, " FUSE "},    {4, " RSVD "},   {3, " PCHG "},  {2, " CHG "},   {1, " DSG "},    {0, " PRES "},
};

const FlagName kGaugingStatus[] = {
    {20, " OCVFR"}, {19, " LDMD"}, {18, " RX"},  {17, " QMAX"}, {16, " VDQ"},
    {15, " NSFM"},  {13, " SlpQmax"}, {12, " QEN"}, {11, " VOK"}, {10, " R_DIS"}, {8, " REST"},
    {7, " CF"},     {6, " DSG"},   {5, " EDV"},  {4, " BAL-En"}, {3, " TC"}, {2, " TD"}, {1, " FC"}, {0, " FD"},
};

const FlagName kManufacturingStatus[] = {
    {15, " CAL"}, {14, " LTtst "}, {9, " LED"}, {8, " FUSE"}, {7, " BBR"}, {6, " PF"},
    {5, " LF"},   {4, " FET"},     {3, " GAUGE"}, {2, " DSG"}, {1, " CHG"}, {0, " PCHG"},
};

const FlagName kSafetyStatus[] = {
    {29, " OCDL"},  {28, " COVL"}, {27, " UTD"},  {26, " UTC"},  {25, " PCHGC"}, {24, " CHGV"},
    {23, " CHGC"},  {22, " OC"},   {20, " CTO"},  {18, " PTO"},  {16, " OTF"},
    {14, " CUVC"},  {13, " OTD"},  {12, " OTC"},  {11, " ASCDL"}, {10, " ASCD"}, {9, " ASCCL"}, {8, " ASCC"},
    {7, " AOLDL"},  {6, " AOLD"},  {5, " OCD2"},  {4, " OCD1"},  {3, " OCC2"},  {2, " OCC1"},  {1, " COV"},
    {0, " CUV"},
};

const FlagName kPFStatus[] = {
    {31, " TS4"},  {30, " TS3"},  {29, " TS2"},  {28, " TS1"},  {26, " DFW"},   {25, " OPNC"}, {24, " IFC"},
    {23, " PTC"},  {22, " 2LVL"}, {21, " AFEC"}, {20, " AFER"}, {19, " FUSE"},  {17, " DFETF"}, {16, " CFETF"},
    {12, " VIMA"}, {11, " VIMR"},
    {6, " SOTF"},  {4, " SOT"},   {3, " SOCD"},  {2, " SOCC"},  {1, " SOV"},    {0, " SUV"},
};

const FlagName kChargingStatus[] = {
    {19, " NCT"}, {18, " CCC"}, {17, " CVR"}, {16, " CCR"},
    {15, " VCT"}, {14, " MCHG"}, {13, " SU"}, {12, " IN"}, {11, " HV"}, {10, " MV"}, {9, " LV"}, {8, " PV"},
    {6, " OT"},   {5, " HT"},   {4, " STH"},  {3, " RT"},  {2, " STL"}, {1, " LT"},  {0, " UT"},
};

// buf holds a register least significant byte first.
void NoFlagsLine(Program& p, std::uint32_t value) {
  p.con.SetColour(White);
  if (value == 0) {
    p.con.Continue(" No Flags                    OK");
    p.con.NewLine();
  }
}

}  // namespace

void BatteryStatusFlags(Program& p) {
  p.tempWord = p.bus.SMBReadWord(BatteryAddress, 0x16);
  p.con.Print(Cyan, " BatteryStatus (0x16):...... ");
  p.con.Print(Yellow, "%04X Hex\n", static_cast<unsigned>(p.tempWord));
  p.con.SetColour(Red);
  FlagLine(p.con, kBatteryStatusFlags, static_cast<std::uint32_t>(p.tempWord) & 0xFFFF, 15, 0);
  p.con.Dashes(Magenta, kSeparator);
}

void BatteryModeFlags(Program& p) {
  p.status = p.bus.SMBReadWord(BatteryAddress, 0x03);
  p.Sleep(0);
  p.con.Print(Cyan, " BatteryMode (0x03):........ ");
  p.con.Print(Yellow, "%04X Hex\n", static_cast<unsigned>(p.status));
  p.con.SetColour(Red);
  FlagLine(p.con, kBatteryModeFlags, static_cast<std::uint32_t>(p.status) & 0xFFFF, 15, 0);
  p.con.Dashes(Magenta, kSeparator);
}

void OperationStatusFlags(Program& p, ReportBuffer& receive) {
  ManufacturerBlockRead(p, receive, 0x0054);
  p.con.Print(Cyan, " OperationStatus (0x54):.. ");
  p.con.Print(Yellow, "%02X%02X%02X%02X Hex\n", p.buf[3], p.buf[2], p.buf[1], p.buf[0]);
  p.con.SetColour(Red);
  TwoHalfLines(p.con, kOperationStatus, LittleEndianValue(p.buf, 4));
  // No separator: the seal check that follows starts with one.
}

void GaugingStatusFlags(Program& p, ReportBuffer& receive) {
  ManufacturerBlockRead(p, receive, 0x0056);
  p.con.Print(Cyan, " GaugingStatus (0x0056):.... ");
  p.con.Print(Yellow, "%02X%02X%02X Hex\n", p.buf[2], p.buf[1], p.buf[0]);
  p.con.SetColour(Red);
  const std::uint32_t value = LittleEndianValue(p.buf, 3);
  FlagLineWhenSet(p.con, kGaugingStatus, value, 23, 16);
  FlagLineWhenSet(p.con, kGaugingStatus, value, 15, 0);
  p.con.Dashes(Magenta, kSeparator);
}

void ManufacturingStatusFlags(Program& p, ReportBuffer& receive) {
  ManufacturerBlockRead(p, receive, 0x0057);
  p.con.Print(Cyan, " ManufacturingStatus (0x0057): ");
  p.con.Print(Yellow, "%02X%02X Hex\n", p.buf[1], p.buf[0]);
  p.con.SetColour(Red);
  FlagLineWhenSet(p.con, kManufacturingStatus, LittleEndianValue(p.buf, 2), 15, 0);
  p.con.Dashes(Magenta, kSeparator);
}

void SafetyStatusFlags(Program& p, ReportBuffer& receive) {
  ManufacturerBlockRead(p, receive, 0x0051);
  p.con.Print(Cyan, " SafetyStatus (0x51):..... ");
  p.con.Print(Yellow, "%02X%02X%02X%02X Hex\n", p.buf[3], p.buf[2], p.buf[1], p.buf[0]);
  p.con.SetColour(Red);
  const std::uint32_t value = LittleEndianValue(p.buf, 4);
  TwoHalfLines(p.con, kSafetyStatus, value);
  NoFlagsLine(p, value);
  p.con.Dashes(Magenta, kSeparator);
}

void PFStatusFlags(Program& p, ReportBuffer& receive) {
  ManufacturerBlockRead(p, receive, 0x0053);
  p.con.Print(Cyan, " PFStatus (0x53):......... ");
  p.con.Print(Yellow, "%02X%02X%02X%02X Hex\n", p.buf[3], p.buf[2], p.buf[1], p.buf[0]);
  p.con.SetColour(Red);
  const std::uint32_t value = LittleEndianValue(p.buf, 4);
  TwoHalfLines(p.con, kPFStatus, value);
  NoFlagsLine(p, value);
  p.con.Dashes(Magenta, kSeparator);
}

void ChargingStatusFlags(Program& p, ReportBuffer& receive) {
  ManufacturerBlockRead(p, receive, 0x0055);
  p.con.Print(Cyan, " ChargingStatus (0x55):..... ");
  p.con.Print(Yellow, "%02X%02X%02X Hex\n", p.buf[2], p.buf[1], p.buf[0]);
  p.con.SetColour(Red);
  FlagLineWhenSet(p.con, kChargingStatus, LittleEndianValue(p.buf, 3), 23, 0);
  p.con.Dashes(Magenta, kSeparator);
}

}  // namespace reports::z40
