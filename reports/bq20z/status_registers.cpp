#include "reports/bq20z/status_registers.h"

#include "reports/bq20z/manufacturer_access.h"
#include "reports/flag_lines.h"
#include "reports/smart_battery_flags.h"

namespace reports {

using namespace core;

namespace {

const FlagName kOperationStatusFlags[] = {
    {15, " PRES"}, {14, " FAS"},   {13, " SS"},    {12, " CSV"},   {10, " LDMD"}, {7, " WAKE"},
    {6, " DSG"},   {5, " XDSG"},   {4, " XDSGI"},  {3, " DSGIN"},  {2, " R_DIS"}, {1, " VOK"},
    {0, " QEN"},
};

const FlagName kSafetyStatusFlags[] = {
    {15, " OTD"}, {14, " OTC"}, {13, " OCD"}, {12, " OCC"}, {11, " OCD2"}, {10, " OCC2"},
    {9, " PUV"},  {8, " POV"},  {7, " CUV"},  {6, " COV"},  {5, " PF"},    {4, " HWDG"},
    {3, " WDF"},  {2, " AOCD"}, {1, " SCC"},  {0, " SCD"},
};

const FlagName kPfStatusFlags[] = {
    {15, " FBF"},   {13, " SUV"},   {12, " SOPT"},  {11, " SOCD"}, {10, " SOCC"}, {9, " AFE_P"},
    {8, " AFE_C"},  {7, " DFF"},    {6, " DFETF"},  {5, " CFETF"}, {4, " CIM_R"}, {3, " SOTD"},
    {2, " SOTC"},   {1, " SOV"},    {0, " PFIN"},
};

const FlagName kChargingStatusFlags[] = {
    {15, " XCHG"},  {14, " CHGSUSP"}, {13, " PCHG"},  {12, " MCHG"}, {11, " TCHG1"}, {10, " TCHG2"},
    {9, " FCHG"},   {8, " PULSE"},    {7, " PLSOFF"}, {6, " CB"},    {5, " PCMTO"},  {4, " FCMTO"},
    {3, " OCHGV"},  {2, " OCHGI"},    {1, " OC"},     {0, " XCHGLV"},
};

enum class NoFlagsText { Omitted, Shown };

// Red names of the set bits; Safety and PF Status then say in green when
// nothing at all is set. Always ends the line.
void FlagLine20z(Program& p, FlagTable table, int value, NoFlagsText no_flags) {
  p.con.SetColour(Red);
  WriteFlagNames(p.con, table, static_cast<std::uint32_t>(value), 15, 0);
  if (no_flags == NoFlagsText::Shown) {
    p.con.SetColour(Green);
    if (value == 0) p.con.Continue(" No Flags                    OK");
  }
  p.con.NewLine();
}

void OnOff(Program& p, bool on) {
  if (on) {
    p.con.Print(White, "ON");
  } else {
    p.con.Print(Red, "OFF");
  }
}

// An unsealed gauge shows its FET control register; each field is one bit.
struct FetBit {
  const char* text;
  int mask;
};
const FetBit kUnsealedFetBits[] = {{" Pre-CHG=", 0x08}, {" CHG=", 0x04}, {" DHG=", 0x02}};

// A sealed gauge only tells a two-bit state (bits 15..14 of subcommand 0x0006).
struct SealedFetState {
  bool charge_on;
  bool discharge_on;
};
const SealedFetState kSealedFetStates[4] = {
    {true, true},    // 0
    {false, true},   // 1
    {false, false},  // 2
    {true, false},   // 3
};

// Safety, PF and Charging Status: read without a pause after the write.
struct ProtectionRegister {
  int subcommand;
  const char* label;
  int label_colour;
  int value_colour;
  FlagTable flags;
  NoFlagsText no_flags;
};
const ProtectionRegister kProtectionRegisters[] = {
    {0x0051, " Safety Status (0x51):...... ", White, Yellow, kSafetyStatusFlags, NoFlagsText::Shown},
    {0x0053, " PF Status (0x53):.......... ", White, Yellow, kPfStatusFlags, NoFlagsText::Shown},
    {0x0055, " Charging Status (0x55):.... ", Yellow, White, kChargingStatusFlags, NoFlagsText::Omitted},
};

struct VersionWord {
  int subcommand;
  const char* label;
  int label_colour;
  int value_colour;
};
const VersionWord kVersionWords[] = {
    {0x0001, " Device Type:     (0x0001):. ", Yellow, White},
    {0x0002, " Firmware Version:(0x0002):. ", Magenta, Yellow},
    {0x0003, " Hardware Version:(0x0003):. ", Cyan, White},
    {0x0008, " Chemisry ID:(0x0008):...... ", White, Yellow},
};

}  // namespace

void PrintBatteryStatus20z(Program& p) {
  p.con.Print(White, " Battery Status (0x16):..... ");
  p.tempWord = p.bus.SMBReadWord(BatteryAddress, 0x16);
  p.Sleep(1);
  p.con.Print(Yellow, "%04X Hex\n", static_cast<unsigned>(p.tempWord));
  FlagLine20z(p, kBatteryStatusFlags, p.tempWord, NoFlagsText::Omitted);
  p.con.Dashes(Magenta, 39);
}

void PrintBatteryModeFlags20z(Program& p) {
  p.status = p.bus.SMBReadWord(BatteryAddress, 0x03);
  p.Sleep(1);
  p.con.Print(Cyan, " BatteryMode (0x03):........ ");
  p.con.Print(Yellow, "%04X Hex\n", static_cast<unsigned>(p.status));
  FlagLine20z(p, kBatteryModeFlags, p.status, NoFlagsText::Omitted);
  p.con.Dashes(Magenta, 38);
}

void PrintOperationStatus20z(Program& p) {
  ManufacturerAccessRead(p, 0x0054, PauseBeforeRead::OneMillisecond);
  p.con.Print(Yellow, " Operation Status (0x54):... ");
  p.con.Print(White, "%04X Hex\n", static_cast<unsigned>(p.status));
  FlagLine20z(p, kOperationStatusFlags, p.status, NoFlagsText::Omitted);
}

void PrintSafetyPfChargingStatus20z(Program& p) {
  for (const ProtectionRegister& r : kProtectionRegisters) {
    ManufacturerAccessRead(p, r.subcommand, PauseBeforeRead::None);
    p.con.Print(r.label_colour, "%s", r.label);
    p.con.Print(r.value_colour, "%04x Hex\n", static_cast<unsigned>(p.status));
    FlagLine20z(p, r.flags, p.status, r.no_flags);
    p.con.Dashes(Magenta, 37);
  }
}

void PrintFetControl20z(Program& p) {
  if (p.StUnsealDevice != 0) {
    p.status = p.bus.SMBReadWord(BatteryAddress, 0x46);
    p.con.Print(Cyan, " FET-Control (0x46):........ ");
    p.con.Print(Yellow, "%02x Hex\n", static_cast<unsigned>(p.status));
    p.con.Print(Green, " FET =");
    for (const FetBit& field : kUnsealedFetBits) {
      p.con.Print(Yellow, "%s", field.text);
      OnOff(p, (p.status & field.mask) != 0);
    }
  } else {
    ManufacturerAccessRead(p, 0x0006, PauseBeforeRead::OneMillisecond);
    p.con.Print(White, " FET-Control (0x0006):...... ");
    p.con.Print(Yellow, "%04x Hex\n", static_cast<unsigned>(p.status));
    p.con.Print(Green, " FET =");
    const SealedFetState& state = kSealedFetStates[(p.status >> 14) & 0x3];
    p.con.Print(Yellow, " CHG-");
    OnOff(p, state.charge_on);
    p.con.Print(Yellow, " DHG-");
    OnOff(p, state.discharge_on);
  }
  p.con.NewLine();
  p.con.Dashes(Magenta, 38);
}

void PrintVersions20z(Program& p) {
  for (const VersionWord& word : kVersionWords) {
    ManufacturerAccessRead(p, word.subcommand, PauseBeforeRead::OneMillisecond);
    p.con.Print(word.label_colour, "%s", word.label);
    p.con.Print(word.value_colour, "%04x Hex\n", static_cast<unsigned>(p.status));
  }
  p.con.Dashes(Magenta, 37);
}

}  // namespace reports
