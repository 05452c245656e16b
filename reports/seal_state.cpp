#include "reports/seal_state.h"

namespace reports {

using namespace core;

void PrintSealState(Program& p, std::span<const SealState> states, int bits, int width) {
  p.con.Dashes(Magenta, width);
  for (const SealState& state : states) {
    if (state.bits != bits) continue;
    p.con.Print(state.colour, "%s", state.line);
    p.con.NewLine();
    p.StUnsealDevice = state.mode;
  }
  p.con.Dashes(Magenta, width);
}

}  // namespace reports
