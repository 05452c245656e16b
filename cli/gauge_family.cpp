#include "cli/gauge_family.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace cli {

using core::Program;

namespace {

// The access paths, the most particular first: a bq40z also answers the
// bq30z's and the bq20z's exchanges, and a bq9000's ManufacturerAccess is a
// state word.
std::vector<const FamilyInfo*> ProbeOrder() {
  std::vector<const FamilyInfo*> order(reports::Families().begin(), reports::Families().end());
  std::sort(order.begin(), order.end(),
            [](const FamilyInfo* a, const FamilyInfo* b) { return a->probe_rank < b->probe_rank; });
  return order;
}

}  // namespace

const FamilyInfo& InfoOf(Family family) {
  for (const FamilyInfo* info : reports::Families()) {
    if (info->family == family) return *info;
  }
  return *reports::Families().front();
}

const FamilyInfo* FamilyNamed(const std::string& name) {
  for (const FamilyInfo* info : reports::Families()) {
    if (name == info->name) return info;
  }
  return nullptr;
}

// Words in a Device Name that name a family: the menu's names of the gauges.
std::optional<Family> FamilyInName(const std::string& device_name) {
  std::string lower = device_name;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  for (const FamilyInfo* info : reports::Families()) {
    for (const char* word : info->name_words) {
      if (lower.find(word) != std::string::npos) return info->family;
    }
  }
  return std::nullopt;
}

Identification IdentifyGauge(Program& p, const std::string& device_name) {
  Identification found;
  if (const std::optional<Family> named = FamilyInName(device_name)) {
    found.family = named;
    found.evidence = "device name";
    const FamilyInfo& info = InfoOf(*named);
    if (info.path_reads_device_type) {
      found.device_type = info.read_path(p, false).device_type;
      found.device_type_path = info.path;
    }
    return found;
  }
  for (const FamilyInfo* info : ProbeOrder()) {
    const reports::PathAnswer answer = info->read_path(p, true);
    if (!answer.fits) continue;
    found.family = info->family;
    found.evidence = info->path;
    found.device_type = answer.device_type;
    if (answer.device_type) found.device_type_path = info->path;
    return found;
  }
  return found;
}

}  // namespace cli
