#pragma once
// vantrel adapters: what the program can use on this machine.

#include <string>
#include <vector>

#include "link/cp2112/cp2112_list.h"
#include "link/i2c/i2c_buses.h"

namespace cli {

struct AdapterList {
  std::vector<smb::i2c::I2cBus> i2c;
  smb::cp2112::Cp2112Listing cp2112;
  std::string vendor_library;  // its file name
  std::string vendor_error;    // empty when it loads
};

AdapterList FindAdapters();

// One adapter a line, or one JSON document; returns the exit status: 0 when
// at least one adapter can be used, 1 when none.
int PrintAdapters(const AdapterList& list, bool json);

}  // namespace cli
