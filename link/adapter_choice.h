#pragma once
// Chooses the adapter backend from the value of SMBUS_ADAPTER.

#include <memory>
#include <stdexcept>
#include <string>

#include "link/adapter.h"

namespace smb {

class AdapterChoiceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `value` is SMBUS_ADAPTER (null when unset), `sim_realtime` SMBUS_SIM_REALTIME.
// Throws AdapterChoiceError (or a profile error) with a one-line message.
std::unique_ptr<Adapter> MakeAdapter(const char* value, const char* sim_realtime);

}  // namespace smb
