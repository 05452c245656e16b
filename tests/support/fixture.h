#pragma once
// What the report tests share: string helpers, profile building, the
// label-before-read check, and a family's register rows one at a time.

#include <span>
#include <string>

#include "reports/register_lines.h"

namespace testing_support {

// The row of `reg` alone, out of a family's register table (all of them, and
// a failed test, when there is none).
std::span<const reports::RegisterLine> OnlyRow(std::span<const reports::RegisterLine> rows, int reg);

}  // namespace testing_support
