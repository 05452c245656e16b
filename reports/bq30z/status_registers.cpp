// The gauge's status registers as flag names, and its identification words.

#include <cstdint>

#include "reports/bq30z/bq30z_parts.h"
#include "reports/flag_lines.h"
#include "reports/smart_battery_flags.h"

namespace reports::bq30z_parts {

using namespace core;

namespace {

constexpr FlagName kOperationStatus[] = {
    {29, " FetOf"}, {28, " XLSBS"}, {27, " SLPC"}, {26, " SLPQM"}, {25, " SMBLCL"}, {24, " INIT"},
    {23, " SleepM"}, {22, " SDV"},  {21, " CALO"}, {20, " FVS"},   {19, " AWD"},    {18, " AUTH"},
    {17, " SHIPm"}, {16, " SDM"},   {15, " Sleep"}, {14, " XCHG"}, {13, " XDSG"},   {12, " PF"},
    {11, " SS"},    {10, " CAL"},   {9, " SEC1"},  {8, " SEC0"},   {7, " LED"},     {6, " CB"},
    {5, " FUSE"},   {4, " GPOD"},   {3, " PCHG"},  {2, " CHG"},    {1, " DSG"},     {0, " PRES"},
};

constexpr FlagName kGaugingStatus[] = {
    {15, " LFP_RLX"}, {14, " TCA"}, {13, " TDA"}, {12, " OCVFR"}, {11, " LDMD"}, {10, " RX"},
    {9, " QMAX"},     {8, " VDQ"},  {7, " NSFM"}, {6, " FC"},     {5, " FD"},    {4, " QEN"},
    {3, " VOK"},      {2, " RU"},   {1, " DSG"},  {0, " REST"},
};

constexpr FlagName kManufacturingStatus[] = {
    {15, " CAL"}, {9, " LED"}, {8, " FUSE"},  {7, " BBR"}, {6, " PF"},  {5, " LF"},
    {4, " FET"},  {3, " GAUGE"}, {2, " DSG"}, {1, " CHG"}, {0, " PCHG"},
};

constexpr FlagName kSafetyStatus[] = {
    {31, " RSVD"},  {30, " RSVD"},  {29, " RSVD"},  {28, " RSVD"},  {27, " UTD"},   {26, " UTC"},
    {25, " PCHGC"}, {24, " CHGV"},  {23, " CHGC"},  {22, " OC"},    {21, " RSVD"},  {20, " CTO"},
    {19, " RSVD"},  {18, " PTO"},   {17, " HWDF"},  {16, " OTF"},   {15, " RSVD"},  {14, " RSVD"},
    {13, " OTD"},   {12, " OTC"},   {11, " ASCDL"}, {10, " ASCD"},  {9, " ASCCL"},  {8, " ASCC"},
    {7, " AOLDL"},  {6, " AOLD"},   {5, " OCD2"},   {4, " OCD1"},   {3, " OCC2"},   {2, " OCC1"},
    {1, " COV"},    {0, " CUV"},
};

constexpr FlagName kPfStatus[] = {
    {31, " TS4"},  {30, " TS3"},  {29, " TS2"},  {28, " TS1"},  {27, " RSVD"},  {26, " DFW"},
    {25, " OPNC"}, {24, " IFC"},  {23, " PTC"},  {22, " 2LVL"}, {21, " AFEC"},  {20, " AFER"},
    {19, " FUSE"}, {18, " RSVD"}, {17, " DFETF"}, {16, " CFETF"}, {15, " RSVD"}, {14, " RSVD"},
    {13, " RSVD"}, {12, " VIMA"}, {11, " VIMR"}, {10, " RSVD"}, {9, " RSVD"},   {8, " RSVD"},
    {7, " RSVD"},  {6, " SOTF"},  {5, " RSVD"},  {4, " SOT"},   {3, " SOCD"},   {2, " SOCC"},
    {1, " SOV"},   {0, " SUV"},
};

constexpr FlagName kChargingStatus[] = {
    {18, " MCHG"}, {16, " VCT"}, {15, " CCC"}, {14, " CVR"}, {13, " CCR"}, {12, " SU"},
    {11, " IN"},   {10, " HV"},  {9, " MV"},   {8, " LV"},   {7, " PV"},   {6, " OT"},
    {5, " HT"},    {4, " STH"},  {3, " RT"},   {2, " STL"},  {1, " LT"},   {0, " UT"},
};

void NoFlagsCheck(Program& p, std::uint32_t value) {
  if (value != 0) return;
  p.con.Print(White, " No Flags                    OK");
  p.con.NewLine();
}

}  // namespace

void GaugingStatus(Program& p) {
  ManufacturerData(p, 0x0056);
  p.con.Print(Cyan, " Gauging Status (0x0056):.... ");
  p.con.Print(Yellow, "%02X%02X Hex\n", p.buf[1], p.buf[0]);
  p.con.SetColour(Red);
  FlagLine(p.con, kGaugingStatus, LittleEndianValue(p.buf, 4), 15, 0);
}

void ManufacturingStatus(Program& p) {
  ManufacturerData(p, 0x0057);
  p.con.Print(Cyan, " Manufacturing Status(0x0057):");
  p.con.Print(Yellow, "%02X%02X Hex\n", p.buf[1], p.buf[0]);
  p.con.SetColour(Red);
  FlagLineWhenSet(p.con, kManufacturingStatus, LittleEndianValue(p.buf, 4), 15, 0);
}

void SafetyStatus(Program& p) {
  ManufacturerData(p, 0x0051);
  p.con.Print(Cyan, " Safety Status (0x51):... ");
  p.con.Print(Yellow, "%02X%02X%02X%02X Hex\n", p.buf[3], p.buf[2], p.buf[1], p.buf[0]);
  const std::uint32_t value = LittleEndianValue(p.buf, 4);
  p.con.SetColour(Red);
  TwoHalfLines(p.con, kSafetyStatus, value);
  NoFlagsCheck(p, value);
}

// The lower half comes first here, in the header value and in the lines.
void PfStatus(Program& p) {
  ManufacturerData(p, 0x0053);
  p.con.Print(Cyan, " PF Status (0x53):....... ");
  p.con.Print(Yellow, "%02X%02X%02X%02X Hex\n", p.buf[1], p.buf[0], p.buf[3], p.buf[2]);
  const std::uint32_t value = LittleEndianValue(p.buf, 4);
  p.con.SetColour(Red);
  FlagLineWhenSet(p.con, kPfStatus, value, 15, 0);
  FlagLineWhenSet(p.con, kPfStatus, value, 31, 16);
  NoFlagsCheck(p, value);
}

void ChargingStatus(Program& p) {
  ManufacturerData(p, 0x0055);
  p.con.Print(Cyan, " Charging Status (0x55):... ");
  p.con.Print(Yellow, "%02X%02X%02X Hex\n", p.buf[2], p.buf[1], p.buf[0]);
  p.con.SetColour(Red);
  // Byte 3 is neither shown nor decoded.
  FlagLine(p.con, kChargingStatus, LittleEndianValue(p.buf, 4), 23, 0);
}

void BatteryStatus(Program& p) {
  p.con.Print(Cyan, " Battery Status (0x16):...... ");
  p.con.SetColour(Yellow);
  p.tempWord = p.bus.SMBReadWord(BatteryAddress, 0x16);
  p.status = p.tempWord;
  p.con.Continue("%04X Hex\n", static_cast<unsigned>(p.tempWord));
  p.con.SetColour(Red);
  // An error code is decoded from its low 16 bits like a status word.
  FlagLine(p.con, kBatteryStatusFlags, static_cast<std::uint32_t>(p.tempWord), 15, 0);
}

void OperationStatus(Program& p) {
  ManufacturerData(p, 0x0054);
  p.con.Print(Cyan, " Operation Status (0x54): ");
  p.con.Print(Yellow, "%02X%02X%02X%02X Hex\n", p.buf[3], p.buf[2], p.buf[1], p.buf[0]);
  const std::uint32_t value = LittleEndianValue(p.buf, 4);
  p.con.SetColour(Red);
  TwoHalfLines(p.con, kOperationStatus, value);
}

void GaugeStatusRegisters(Program& p) {
  GaugingStatus(p);
  p.con.Dashes(Magenta, kNarrow);
  ManufacturingStatus(p);
  p.con.Dashes(Magenta, kNarrow);
  SafetyStatus(p);
  p.con.Dashes(Magenta, kNarrow);
  PfStatus(p);
  p.con.Dashes(Magenta, kNarrow);
  ChargingStatus(p);
  p.con.Dashes(Magenta, kNarrow);
}

void Identification(Program& p) {
  ManufacturerData(p, 0x0001);
  p.con.Print(Yellow, " Device Type(0x0001) :....... ");
  p.con.Print(Red, "%02X%02X Hex\n", p.buf[1], p.buf[0]);

  // The version sits in the second word of this reply.
  ManufacturerData(p, 0x0002);
  p.con.Print(Cyan, " Firmware Version(0x0002) :.. ");
  p.con.Print(White, "%02X%02X Hex\n", p.buf[2], p.buf[3]);

  ManufacturerData(p, 0x0003);
  p.con.Print(Magenta, " Hardware Version(0x0003) :.. ");
  p.con.Print(Red, "%02X%02X Hex\n", p.buf[1], p.buf[0]);

  ManufacturerData(p, 0x0006);
  p.con.Print(White, " Chemistry ID(0x0006) :...... ");
  p.con.Print(Yellow, "%02X%02X Hex\n", p.buf[1], p.buf[0]);
}

}  // namespace reports::bq30z_parts
