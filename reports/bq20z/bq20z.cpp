// The bq20z report, its steps in the order the screen shows them.

#include "reports/bq20z/bq20z.h"

#include <cstdint>

#include "reports/battery_values.h"
#include "reports/bq20z/internal.h"
#include "reports/cell_voltages.h"
#include "reports/report_frame.h"

namespace reports {

using namespace core;
using namespace bq20z_family;

void bq20z(Program& p) {
  p.con.ClearScreen();
  ReportHeader(p, "         Vantrel_bq20zXX", "           READ Battery Info");
  if (StopInBootRom(p)) return;

  const int capacity_mode = ReadCapacityMode(p, 1);

  PrintStandardLines(p, kStandardLines, &ProgramState::buf, capacity_mode);
  CellVoltages(p);
  PrintStandardLines(p, kSpecificationInfo, &ProgramState::buf, capacity_mode);
  p.con.Dashes(Magenta, 38);

  PrintStatusWords(p);
  PrintSealUnsealDevice20z(p);
  if (p.StUnsealDevice != 0) PrintKeys(p);

  PrintProtectionRegisters(p);
  PrintFetControl(p);
  PrintStandardLines(p, kMaxError, &ProgramState::buf, capacity_mode);

  if (p.StUnsealDevice != 0) PrintGaugeMemory(p);
  p.con.Dashes(Magenta, 37);

  PrintVersionWords(p);
  EndReport(p);
}

namespace bq20z_family {

namespace {

// Key blocks hold little-endian words.
std::uint16_t LittleEndianWord(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] + 256 * bytes[1]);
}

// Gauge-memory pages hold big-endian words.
int BigEndianWord(const std::uint8_t* bytes) { return bytes[0] * 256 + bytes[1]; }

// The gauge's registers behind ManufacturerAccess, read with or without a pause.
GaugeRead ManufacturerAccess(Program& p, PauseBeforeRead pause) {
  return [&p, pause](int subcommand) { return ManufacturerAccessRead(p, subcommand, pause); };
}

void OnOff(Program& p, bool on) {
  if (on) {
    p.con.Print(White, "ON");
  } else {
    p.con.Print(Red, "OFF");
  }
}

}  // namespace

void PrintStatusWords(Program& p, std::span<const RegisterLine> rows) {
  PrintRegisters(p, rows, ManufacturerAccess(p, PauseBeforeRead::OneMillisecond));
}

void PrintSealUnsealDevice20z(Program& p) {
  ManufacturerAccessRead(p, 0x0054, PauseBeforeRead::OneMillisecond);
  PrintSealState(p, kSealStates, p.status & kSealBits, 38);
}

void PrintKeys(Program& p) {
  for (const KeyLine& key : kKeyLines) {
    ReadKeyBlock(p, key.command);
    if (key.first != nullptr) {
      p.*key.first = LittleEndianWord(&p.buf[0]);
      p.*key.second = LittleEndianWord(&p.buf[2]);
    }
    p.con.Print(key.colour, "%s", key.label);
    p.con.Print(Cyan, "Key-1 Key-2 .. ");
    if (key.first != nullptr) {
      p.con.Print(key.colour, "%04x %04x\n", static_cast<unsigned>(p.*key.first), static_cast<unsigned>(p.*key.second));
    } else {
      p.con.Print(key.colour, "%02x%02x %02x%02x\n", static_cast<unsigned>(p.buf[1]), static_cast<unsigned>(p.buf[0]),
                  static_cast<unsigned>(p.buf[3]), static_cast<unsigned>(p.buf[2]));
    }
  }
  p.con.Dashes(Magenta, 38);
}

void PrintProtectionRegisters(Program& p) {
  PrintRegisters(p, kProtectionRegisters, ManufacturerAccess(p, PauseBeforeRead::None));
}

void PrintFetControl(Program& p) {
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

void PrintGaugeMemory(Program& p) {
  ReadSubclass(p, kQmaxSubclass);
  p.con.Print(Magenta, " Update Status: ............ ");
  p.con.Print(Yellow, "%u\n", static_cast<unsigned>(p.buf[12]));
  for (int cell = 0; cell < 4; ++cell) {
    p.tempWord = BigEndianWord(&p.buf[2 * cell]);
    p.con.Print(Green, " Qmax ");
    p.con.Print(Yellow, "%s", kQmaxCellText[cell]);
    p.con.Print(White, "%04u mah\n", static_cast<unsigned>(p.tempWord));
  }
  p.tempWord = BigEndianWord(&p.buf[8]);
  p.con.Print(White, " Qmax Pack:                  ");
  p.con.Print(Yellow, "%04u mah\n", static_cast<unsigned>(p.tempWord));
  p.con.Dashes(Magenta, 37);

  for (int subclass = kFirstRaSubclass; subclass < kFirstRaSubclass + 4; ++subclass) {
    ReadSubclass(p, subclass);
    p.con.Print(White, " Cell-%01x ", static_cast<unsigned>(subclass - kFirstRaSubclass));
    p.con.Print(Cyan, "R_a flag:            ");
    p.con.Print(Yellow, "%02x%02x\n", static_cast<unsigned>(p.buf[0]), static_cast<unsigned>(p.buf[1]));
  }
}

void PrintVersionWords(Program& p) {
  PrintRegisters(p, kVersionWords, ManufacturerAccess(p, PauseBeforeRead::OneMillisecond));
}

}  // namespace bq20z_family

}  // namespace reports
