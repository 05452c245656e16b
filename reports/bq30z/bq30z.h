#pragma once

#include "core/program.h"
#include "reports/family.h"

namespace reports {

// The information report of a bq30z-family gauge (menu choice "2").
void bq30z(core::Program& p);

// The family's descriptor (descriptor.cpp).
extern const FamilyDescriptor kBq30zFamily;

}  // namespace reports
