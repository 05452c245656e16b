#pragma once
// Chooses the adapter backend from the value of SMBUS_ADAPTER.

#include <memory>
#include <string>

#include "link/adapter.h"

namespace smb {

// `value` is SMBUS_ADAPTER (null when unset), `sim_realtime` SMBUS_SIM_REALTIME.
// Throws AdapterChoiceError (or a profile error) with a one-line message.
std::unique_ptr<Adapter> MakeAdapter(const char* value, const char* sim_realtime);

}  // namespace smb
