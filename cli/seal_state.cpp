#include "cli/seal_state.h"

namespace cli {

SealReading ReadSealState(core::Program& p, Family family) {
  const FamilyInfo& info = InfoOf(family);
  if (info.read_seal == nullptr) return {};
  return info.read_seal(p);
}

const char* SealName(Seal state) {
  switch (state) {
    case Seal::Sealed: return "sealed";
    case Seal::Unsealed: return "unsealed";
    case Seal::FullAccess: return "full-access";
  }
  return "";
}

}  // namespace cli
