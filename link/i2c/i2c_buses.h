#pragma once
// The i2c-dev buses of this machine, as `i2cdetect -l` lists them, and the
// choice of one by its name.

#include <optional>
#include <string>
#include <vector>

namespace smb::i2c {

struct I2cBus {
  int number = 0;
  std::string device;  // /dev/i2c-N
  std::string name;    // as the bus driver names it
  // What the bus offers, read from the device; unknown when it cannot be opened.
  std::optional<unsigned long> functions;
  std::string open_error;
};

// `class_dir` holds one i2c-N folder per bus with its `name`; the devices are
// `dev_dir`/i2c-N. Sorted by number.
std::vector<I2cBus> ListI2cBuses(const std::string& class_dir = "/sys/class/i2c-dev",
                                 const std::string& dev_dir = "/dev");

// The device of the bus named `name`, exactly or by a prefix that only one
// bus's name starts with; otherwise throws AdapterChoiceError saying why.
std::string BusNamed(const std::string& name, const std::vector<I2cBus>& buses);

}  // namespace smb::i2c
