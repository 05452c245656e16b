#include "link/adapter_choice.h"

#include <cstring>

#include "link/sim/sim_adapter.h"
#include "link/vendor/vendor_adapter.h"
#include "platform/common/printable.h"
#ifndef _WIN32
#include "link/i2c/i2c_adapter.h"
#endif

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

#ifndef _WIN32
// "i2c:N" is short for "i2c:/dev/i2c-N".
std::unique_ptr<Adapter> MakeI2c(const std::string& argument, bool has_argument, bool) {
  if (!has_argument) throw AdapterChoiceError("SMBUS_ADAPTER=i2c needs a bus: i2c:/dev/i2c-N or i2c:N");
  const bool number = argument.find_first_not_of("0123456789") == std::string::npos;
  return std::make_unique<i2c::I2cAdapter>(number ? "/dev/i2c-" + argument : argument);
}
#endif

std::unique_ptr<Adapter> MakeVendor(const std::string& argument, bool has_argument, bool) {
  return std::make_unique<vendor::VendorAdapter>(has_argument ? argument : vendor::DefaultLibraryName());
}

const BackendChoice kBackends[] = {
    {"sim", MakeSim},
#ifndef _WIN32
    {"i2c", MakeI2c},
#endif
    {"libsmbusb", MakeVendor},
};

}  // namespace

std::unique_ptr<Adapter> MakeAdapter(const char* value, const char* sim_realtime) {
  const bool realtime = sim_realtime != nullptr && std::strcmp(sim_realtime, "1") == 0;
  const std::string text = value == nullptr ? "" : value;
  const std::string shown = platform::Printable(text, 200);
  if (text.empty()) return MakeSim("", false, realtime);
  const std::size_t colon = text.find(':');
  const std::string prefix = text.substr(0, colon);
  const bool has_argument = colon != std::string::npos;
  const std::string argument = has_argument ? text.substr(colon + 1) : "";
  for (const BackendChoice& backend : kBackends) {
    if (prefix == backend.prefix) {
      if (has_argument && argument.empty()) {
        throw AdapterChoiceError("SMBUS_ADAPTER=" + shown + ": nothing follows the ':'");
      }
      return backend.make(argument, has_argument, realtime);
    }
  }
  throw AdapterChoiceError("SMBUS_ADAPTER=" + shown +
                           ": unknown adapter (expected sim, sim:NAME, sim:PATH, i2c:/dev/i2c-N, libsmbusb or "
                           "libsmbusb:PATH)");
}

}  // namespace smb
