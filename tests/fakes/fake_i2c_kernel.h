#pragma once
// A fake of the Linux i2c-dev interface at the ioctl boundary, with the
// simulated gauge as the device at address 0x0B. The test executable is
// linked with --wrap=ioctl: ioctl calls on a file registered here (the
// backend opens it like /dev/i2c-N) are answered by the fake, all others go
// to the kernel.

#include <filesystem>
#include <memory>

#include "link/sim/sim_adapter.h"

namespace testing_support {

struct FakeBus {
  unsigned long functions = 0;
  bool address_busy = false;   // a kernel driver holds 0x0B
  bool corrupt_pec = false;    // the battery's PEC bytes arrive damaged
  bool gauge_absent = false;   // nothing answers at 0x0B
  int absent_error = 6;        // what the driver says then: ENXIO, or ENODEV (19) as i2c-stub does
  bool pec = false;            // as last set with I2C_PEC
  // SMBus block reads as USB bridge drivers make them: the CP2112's brings
  // the battery's count byte and 31 data bytes whatever the count says, the
  // MCP2221's never reads.
  bool truncated_smbus_blocks = false;
  bool broken_smbus_blocks = false;
  int reads_with_rdwr = 0;     // plain transfers that read
  int smbus_calls = 0;
  std::unique_ptr<smb::sim::SimAdapter> gauge;
};

// Registers `device` (an existing file) as a bus with the given gauge; the
// registration lasts until the returned object is destroyed.
class FakeI2cDevice {
 public:
  FakeI2cDevice(const std::filesystem::path& device, unsigned long functions, const std::string& profile_json);
  ~FakeI2cDevice();
  FakeBus& bus() { return bus_; }

 private:
  FakeBus bus_;
};

}  // namespace testing_support
