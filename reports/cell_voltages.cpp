#include "reports/cell_voltages.h"

#include <cstdlib>

namespace reports {

using namespace core;

namespace {

enum class Source { Words, Block };

struct Candidate {
  Source source;
  int block_command = 0;  // for a block candidate
  int cell[4];        // word commands, or byte offsets of little-endian pairs; cell 1 first
  const char* label[4];
};

const Candidate kCandidates[] = {
    {.source = Source::Words, .cell = {0x3B, 0x3A, 0x39, 0x38},
     .label = {" Word 3B  ", " Word 3A  ", " Word 39  ", " Word 38  "}},
    {.source = Source::Words, .cell = {0x3F, 0x3E, 0x3D, 0x3C},
     .label = {" Word 3F  ", " Word 3E  ", " Word 3D  ", " Word 3C  "}},
    {.source = Source::Block, .block_command = 0x23, .cell = {10, 8, 6, 4},
     .label = {" Block 23 ", " Block 23 ", " Block 23 ", " Block 23 "}},
    {.source = Source::Words, .cell = {0x6C, 0x6D, 0x6E, 0x6F},
     .label = {" Word 6C  ", " Word 6D  ", " Word 6E  ", " Word 6F  "}},
    {.source = Source::Block, .block_command = 0x30, .cell = {0, 2, 4, 6},
     .label = {" Block 30 ", " Block 30 ", " Block 30 ", " Block 30 "}},
};

constexpr int kToleranceMillivolts = 59;

const char* const kCellText[4] = {"VCELL 1:            ", "VCELL 2:........... ", "VCELL 3:            ",
                                  "VCELL 4:........... "};

}  // namespace

CellVoltageSearch FindCellVoltages(Program& p) {
  std::uint8_t block[256] = {};
  CellVoltageSearch found;
  for (const Candidate& candidate : kCandidates) {
    int reads[6] = {};  // every result of this layout
    int pack_voltage = 0;
    if (candidate.source == Source::Words) {
      pack_voltage = reads[0] = p.bus.SMBReadWord(BatteryAddress, 0x09);
      for (int k = 0; k < 4; ++k) {
        reads[k + 1] = p.bus.SMBReadWord(BatteryAddress, candidate.cell[k]);
        found.cells[k] = static_cast<std::uint16_t>(reads[k + 1]);
      }
    } else {
      reads[0] = p.bus.SMBReadBlock(BatteryAddress, candidate.block_command, block);
      p.Sleep(5);
      reads[1] = p.bus.SMBReadBlock(BatteryAddress, candidate.block_command, block);
      p.Sleep(15);
      pack_voltage = reads[2] = p.bus.SMBReadWord(BatteryAddress, 0x09);
      for (int k = 0; k < 4; ++k) {
        const int offset = candidate.cell[k];
        found.cells[k] = static_cast<std::uint16_t>(block[offset] + 256 * block[offset + 1]);
      }
    }
    found.labels = candidate.label;
    found.error = 0;
    for (const int result : reads) {
      if (result < 0 && found.error == 0) found.error = result;
    }
    const int sum = found.cells[0] + found.cells[1] + found.cells[2] + found.cells[3];
    found.matched = std::llabs(static_cast<long long>(sum) - pack_voltage) <= kToleranceMillivolts;
    if (found.matched) break;
  }
  return found;
}

void CellVoltages(Program& p) {
  const CellVoltageSearch found = FindCellVoltages(p);
  for (int n = 3; n >= 0; --n) {
    p.con.Print(White, "%s", found.labels[n]);
    p.con.Print(Cyan, "%s", kCellText[n]);
    p.con.Print(White, "%u mV\n", static_cast<unsigned>(found.cells[n]));
  }
}

}  // namespace reports
