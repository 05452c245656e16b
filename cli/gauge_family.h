#pragma once
// Which gauge family a battery has, and so which report fits it: from the
// gauge's Device Name when that says, otherwise from the access path that
// the gauge answers on as the family's gauges do. What each family knows is
// its descriptor (reports/family.h).

#include <optional>
#include <string>

#include "core/program.h"
#include "reports/family.h"

namespace cli {

using reports::Family;
using FamilyInfo = reports::FamilyDescriptor;

const FamilyInfo& InfoOf(Family family);
// The family of a report command's argument; nullptr for an unknown name.
const FamilyInfo* FamilyNamed(const std::string& name);

// The family that a Device Name names, if any.
std::optional<Family> FamilyInName(const std::string& device_name);

struct Identification {
  std::optional<Family> family;
  const char* evidence = nullptr;   // what told the family
  std::optional<int> device_type;   // read through the family's manufacturer access
  const char* device_type_path = nullptr;
};

// `device_name` is the Device Name block as read (empty when it was not).
// Only what is needed is read: the device type of a family named by the
// device name, else one access path after another.
Identification IdentifyGauge(core::Program& p, const std::string& device_name);

}  // namespace cli
