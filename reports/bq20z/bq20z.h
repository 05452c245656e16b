#pragma once

#include "core/program.h"
#include "reports/family.h"

namespace reports {

// The information report for bq20z-family gauges (menu choice "1").
void bq20z(core::Program& p);

// The family's descriptor (descriptor.cpp).
extern const FamilyDescriptor kBq20zFamily;

}  // namespace reports
