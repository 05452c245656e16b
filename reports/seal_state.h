#pragma once
// The security mode a seal check finds: each report lists its modes as rows,
// and one routine writes the mode's line and records it.

#include <span>

#include "core/program.h"

namespace reports {

struct SealState {
  int bits;    // the gauge's security bits for this mode
  int colour;
  const char* line;
  int mode;    // the new StUnsealDevice: 0 sealed, 1 unsealed, 2 full access
};

// The line of the state whose bits are `bits` between two magenta separators
// of `width` dashes, and its mode in StUnsealDevice. Bits without a row (the
// gauge's reserved combination) write no line and keep the mode found before.
void PrintSealState(core::Program& p, std::span<const SealState> states, int bits, int width);

}  // namespace reports
