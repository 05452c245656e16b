#include "link/adapter_choice.h"

#include <cstdlib>
#include <cstring>

#include "link/cp2112/cp2112_adapter.h"
#include "link/sim/sim_adapter.h"
#include "link/vendor/vendor_adapter.h"
#include "platform/common/printable.h"
#ifndef _WIN32
#include "link/i2c/i2c_adapter.h"
#include "link/i2c/i2c_buses.h"
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
// "i2c:N" is short for "i2c:/dev/i2c-N"; a value without a '/' is a bus's
// name, as i2c-tools take it: exact, or a prefix of one name only.
std::unique_ptr<Adapter> MakeI2c(const std::string& argument, bool has_argument, bool) {
  if (!has_argument) throw AdapterChoiceError("SMBUS_ADAPTER=i2c needs a bus: i2c:/dev/i2c-N, i2c:N or i2c:NAME");
  if (argument.find_first_not_of("0123456789") == std::string::npos) {
    return std::make_unique<i2c::I2cAdapter>("/dev/i2c-" + argument);
  }
  if (argument.find('/') != std::string::npos) return std::make_unique<i2c::I2cAdapter>(argument);
  return std::make_unique<i2c::I2cAdapter>(i2c::BusNamed(argument, i2c::ListI2cBuses()));
}
#endif

// SMBUS_CP2112_KHZ lowers the clock for gauges that need 20 to 50 kHz.
std::unique_ptr<Adapter> MakeCp2112(const std::string& argument, bool, bool) {
  std::uint32_t khz = 100;
  if (const char* wanted = std::getenv("SMBUS_CP2112_KHZ"); wanted != nullptr && *wanted != '\0') {
    char* end = nullptr;
    const long value = std::strtol(wanted, &end, 10);
    if (*end != '\0' || value < 10 || value > 400) {
      throw AdapterChoiceError("SMBUS_CP2112_KHZ=" + platform::Printable(wanted, 60) +
                               ": not a clock from 10 to 400 (kHz)");
    }
    khz = static_cast<std::uint32_t>(value);
  }
  return std::make_unique<cp2112::Cp2112Adapter>(platform::SystemHidTransport(), argument, khz * 1000);
}

std::unique_ptr<Adapter> MakeVendor(const std::string& argument, bool has_argument, bool) {
  return std::make_unique<vendor::VendorAdapter>(has_argument ? argument : vendor::DefaultLibraryName());
}

const BackendChoice kBackends[] = {
    {"sim", MakeSim},
#ifndef _WIN32
    {"i2c", MakeI2c},
#endif
    {"cp2112", MakeCp2112},
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
                           ": unknown adapter (expected sim, sim:NAME, sim:PATH, i2c:/dev/i2c-N, i2c:NAME, cp2112, "
                           "cp2112:SERIAL, libsmbusb or libsmbusb:PATH)");
}

}  // namespace smb
