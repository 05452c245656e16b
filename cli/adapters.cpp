#include "cli/adapters.h"

#include <nlohmann/json.hpp>

#include <cstdio>

#include "cli/session.h"
#include "link/vendor/vendor_adapter.h"
#include "platform/common/printable.h"
#include "platform/library.h"

namespace cli {

namespace {

constexpr unsigned long kPec = 0x00000008;         // I2C_FUNC_SMBUS_PEC
constexpr unsigned long kPlainI2c = 0x00000001;    // I2C_FUNC_I2C
constexpr unsigned long kSmbusBlock = 0x01000000;  // I2C_FUNC_SMBUS_READ_BLOCK_DATA

const char* YesNo(bool yes) { return yes ? "yes" : "no"; }

std::string Cp2112Adapter(const smb::cp2112::FoundCp2112& chip) {
  return chip.serial.empty() ? "cp2112" : "cp2112:" + chip.serial;
}

bool AnyUsable(const AdapterList& list) {
  return !list.i2c.empty() || !list.cp2112.chips.empty() || list.vendor_error.empty();
}

nlohmann::json Document(const AdapterList& list) {
  nlohmann::json document = {{"i2c", nlohmann::json::array()}, {"cp2112", nlohmann::json::array()}};
  for (const smb::i2c::I2cBus& bus : list.i2c) {
    nlohmann::json entry = {{"adapter", "i2c:" + std::to_string(bus.number)},
                            {"bus", bus.number},
                            {"device", bus.device},
                            {"name", bus.name}};
    for (const auto& [key, function] : {std::pair{"pec", kPec}, {"plain_i2c", kPlainI2c}, {"smbus_block", kSmbusBlock}}) {
      entry[key] = bus.functions ? nlohmann::json((*bus.functions & function) != 0) : nlohmann::json();
    }
    entry["error"] = bus.functions ? nlohmann::json() : nlohmann::json(bus.open_error);
    document["i2c"].push_back(entry);
  }
  for (const smb::cp2112::FoundCp2112& chip : list.cp2112.chips) {
    document["cp2112"].push_back({{"adapter", Cp2112Adapter(chip)},
                                  {"serial", chip.serial},
                                  {"version", chip.version > 0 ? nlohmann::json(chip.version) : nlohmann::json()},
                                  {"error", chip.open_error.empty() ? nlohmann::json() : nlohmann::json(chip.open_error)}});
  }
  document["cp2112_unavailable"] =
      list.cp2112.unavailable.empty() ? nlohmann::json() : nlohmann::json(list.cp2112.unavailable);
  document["vendor_library"] = {
      {"adapter", "libsmbusb"},
      {"file", list.vendor_library},
      {"loads", list.vendor_error.empty()},
      {"error", list.vendor_error.empty() ? nlohmann::json() : nlohmann::json(list.vendor_error)}};
  return document;
}

void PrintLines(const AdapterList& list) {
  for (const smb::i2c::I2cBus& bus : list.i2c) {
    const std::string name = platform::Printable(bus.name, 60);
    if (bus.functions) {
      const unsigned long f = *bus.functions;
      std::printf("i2c:%-12d %-40s PEC %s, plain I2C %s, SMBus block %s\n", bus.number, name.c_str(),
                  YesNo((f & kPec) != 0), YesNo((f & kPlainI2c) != 0), YesNo((f & kSmbusBlock) != 0));
    } else {
      std::printf("i2c:%-12d %-40s cannot be opened: %s\n", bus.number, name.c_str(), bus.open_error.c_str());
    }
  }
  for (const smb::cp2112::FoundCp2112& chip : list.cp2112.chips) {
    const std::string adapter = platform::Printable(Cp2112Adapter(chip), 60);
    if (chip.version > 0) {
      std::printf("%-16s CP2112, version %d\n", adapter.c_str(), chip.version);
    } else {
      std::printf("%-16s CP2112, cannot be opened: %s\n", adapter.c_str(), chip.open_error.c_str());
    }
  }
  if (list.vendor_error.empty()) {
    std::printf("%-16s %s loads\n", "libsmbusb", list.vendor_library.c_str());
  } else {
    std::printf("%-16s %s cannot be loaded: %s\n", "libsmbusb", list.vendor_library.c_str(),
                list.vendor_error.c_str());
  }
}

}  // namespace

AdapterList FindAdapters() {
  AdapterList list;
#ifndef _WIN32
  list.i2c = smb::i2c::ListI2cBuses();
#endif
  list.cp2112 = smb::cp2112::ListCp2112s(*platform::SystemHidTransport());
  list.vendor_library = smb::vendor::DefaultLibraryName();
  if (void* library = platform::OpenLibrary(list.vendor_library, list.vendor_error)) {
    platform::CloseLibrary(library);
  }
  return list;
}

int PrintAdapters(const AdapterList& list, bool json) {
  if (json) {
    std::printf("%s\n", Document(list).dump(2, ' ', true).c_str());
  } else {
    if (!list.cp2112.unavailable.empty()) Complain("CP2112 boards cannot be listed: " + list.cp2112.unavailable);
    PrintLines(list);
  }
  return AnyUsable(list) ? kExitSuccess : kExitNoBattery;
}

}  // namespace cli
