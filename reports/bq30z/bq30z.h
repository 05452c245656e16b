#pragma once

#include "core/program.h"

namespace reports {

// The information report of a bq30z-family gauge (menu choice "2").
void bq30z(core::Program& p);

}  // namespace reports
