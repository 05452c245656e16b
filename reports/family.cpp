#include "reports/family.h"

#include "reports/bq20z/bq20z.h"
#include "reports/bq30z/bq30z.h"
#include "reports/bq40z/bq40z.h"
#include "reports/bq9000/bq9000.h"

namespace reports {

namespace {

const FamilyDescriptor* const kFamilies[] = {&kBq20zFamily, &kBq30zFamily, &kBq40zFamily, &kBq9000Family};

}  // namespace

std::span<const FamilyDescriptor* const> Families() { return kFamilies; }

std::optional<Seal> SealFromSecurityBits(int bits) {
  switch (bits & 0x03) {
    case 3: return Seal::Sealed;
    case 2: return Seal::Unsealed;
    case 1: return Seal::FullAccess;
    default: return std::nullopt;  // reserved
  }
}

}  // namespace reports
