#include "link/adapter_choice.h"

#include <cstring>

#include "link/sim/sim_adapter.h"

namespace smb {

namespace {

constexpr const char* kDefaultProfile = "bq40z50";

struct BackendChoice {
  const char* prefix;  // the value itself, or the part before ':'
  std::unique_ptr<Adapter> (*make)(const std::string& argument, bool has_argument, bool sim_realtime);
};

std::unique_ptr<Adapter> MakeSim(const std::string& argument, bool has_argument, bool sim_realtime) {
  return std::make_unique<sim::SimAdapter>(sim::LoadProfile(has_argument ? argument : kDefaultProfile),
                                           sim_realtime);
}

const BackendChoice kBackends[] = {
    {"sim", MakeSim},
};

}  // namespace

std::unique_ptr<Adapter> MakeAdapter(const char* value, const char* sim_realtime) {
  const bool realtime = sim_realtime != nullptr && std::strcmp(sim_realtime, "1") == 0;
  const std::string text = value == nullptr ? "" : value;
  if (text.empty()) return MakeSim("", false, realtime);
  const std::size_t colon = text.find(':');
  const std::string prefix = text.substr(0, colon);
  const bool has_argument = colon != std::string::npos;
  const std::string argument = has_argument ? text.substr(colon + 1) : "";
  for (const BackendChoice& backend : kBackends) {
    if (prefix == backend.prefix) {
      if (has_argument && argument.empty()) {
        throw AdapterChoiceError("SMBUS_ADAPTER=" + text + ": nothing follows the ':'");
      }
      return backend.make(argument, has_argument, realtime);
    }
  }
  throw AdapterChoiceError("SMBUS_ADAPTER=" + text +
                           ": unknown adapter (expected sim, sim:NAME, sim:PATH, i2c:/dev/i2c-N, libsmbusb or "
                           "libsmbusb:PATH)");
}

}  // namespace smb
