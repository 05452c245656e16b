#pragma once

#include "core/program.h"
#include "reports/family.h"

namespace reports {

// The information report of the bq9000/8050/8055/8030/m37512 gauges: the
// gauge's mode, then (in normal or unrecognised mode) the battery data, the
// cell voltages, the status registers and the capacity loss.
void bq9000(core::Program& p);

// The family's descriptor (descriptor.cpp).
extern const FamilyDescriptor kBq9000Family;

}  // namespace reports
