#include "tests/support/fixture.h"

#include <gtest/gtest.h>

namespace testing_support {

std::span<const reports::RegisterLine> OnlyRow(std::span<const reports::RegisterLine> rows, int reg) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].reg == reg) return rows.subspan(i, 1);
  }
  ADD_FAILURE() << "no row for register " << reg;
  return rows;
}

}  // namespace testing_support
