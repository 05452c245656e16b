#pragma once

#include "core/program.h"
#include "reports/family.h"

namespace reports {

// The information report of a bq40z-family gauge (menu choice "3"): header,
// boot-ROM guard, battery data, status registers, seal state, Qmax, identity
// and the capacity fade.
void bq40z(core::Program& p);

// The family's descriptor (descriptor.cpp).
extern const FamilyDescriptor kBq40zFamily;

}  // namespace reports
