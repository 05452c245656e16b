#pragma once

#include "core/program.h"

namespace reports {

// The information report for bq20z-family gauges (menu choice "1").
void bq20z(core::Program& p);

}  // namespace reports
