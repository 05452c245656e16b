#include "reports/cell_voltages.h"

#include <cstdint>
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

void CellVoltages(Program& p) {
  std::uint8_t block[256] = {};
  std::uint16_t cells[4] = {};
  const Candidate* taken = nullptr;
  for (const Candidate& candidate : kCandidates) {
    int pack_voltage = 0;
    if (candidate.source == Source::Words) {
      pack_voltage = p.bus.SMBReadWord(BatteryAddress, 0x09);
      for (int k = 0; k < 4; ++k) {
        cells[k] = static_cast<std::uint16_t>(p.bus.SMBReadWord(BatteryAddress, candidate.cell[k]));
      }
    } else {
      p.bus.SMBReadBlock(BatteryAddress, candidate.block_command, block);
      p.Sleep(5);
      p.bus.SMBReadBlock(BatteryAddress, candidate.block_command, block);
      p.Sleep(15);
      pack_voltage = p.bus.SMBReadWord(BatteryAddress, 0x09);
      for (int k = 0; k < 4; ++k) {
        const int offset = candidate.cell[k];
        cells[k] = static_cast<std::uint16_t>(block[offset] + 256 * block[offset + 1]);
      }
    }
    taken = &candidate;
    const int sum = cells[0] + cells[1] + cells[2] + cells[3];
    if (std::llabs(static_cast<long long>(sum) - pack_voltage) <= kToleranceMillivolts) break;
  }
  for (int n = 3; n >= 0; --n) {
    p.con.Print(White, "%s", taken->label[n]);
    p.con.Print(Cyan, "%s", kCellText[n]);
    p.con.Print(White, "%u mV\n", static_cast<unsigned>(cells[n]));
  }
}

}  // namespace reports
