#include "link/i2c/i2c_buses.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

extern "C" {
#include <linux/i2c-dev.h>
}

#include "link/adapter.h"
#include "platform/common/printable.h"

namespace smb::i2c {

namespace {

std::string FirstLine(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
  return line;
}

void ReadFunctions(I2cBus& bus) {
  const int fd = open(bus.device.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    bus.open_error = std::strerror(errno);
    return;
  }
  unsigned long functions = 0;
  if (ioctl(fd, I2C_FUNCS, &functions) == 0) {
    bus.functions = functions;
  } else {
    bus.open_error = std::strerror(errno);
  }
  close(fd);
}

}  // namespace

std::vector<I2cBus> ListI2cBuses(const std::string& class_dir, const std::string& dev_dir) {
  std::vector<I2cBus> buses;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(class_dir, error)) {
    const std::string folder = entry.path().filename().string();
    if (folder.rfind("i2c-", 0) != 0 || folder.size() == 4 ||
        folder.find_first_not_of("0123456789", 4) != std::string::npos || folder.size() > 12) {
      continue;
    }
    I2cBus bus;
    bus.number = std::stoi(folder.substr(4));
    bus.device = dev_dir + "/" + folder;
    // As i2cdetect: the class device's name, else the adapter device's.
    bus.name = FirstLine(entry.path() / "name");
    if (bus.name.empty()) bus.name = FirstLine(entry.path() / "device" / "name");
    ReadFunctions(bus);
    buses.push_back(std::move(bus));
  }
  std::sort(buses.begin(), buses.end(), [](const I2cBus& a, const I2cBus& b) { return a.number < b.number; });
  return buses;
}

std::string BusNamed(const std::string& name, const std::vector<I2cBus>& buses) {
  std::vector<const I2cBus*> starting;
  for (const I2cBus& bus : buses) {
    if (bus.name == name) return bus.device;
    if (bus.name.rfind(name, 0) == 0) starting.push_back(&bus);
  }
  const std::string shown = "i2c:" + platform::Printable(name, 60);
  if (starting.size() == 1) return starting.front()->device;
  if (starting.empty()) throw AdapterChoiceError(shown + ": no i2c bus has this name (vantrel adapters lists them)");
  std::string which;
  for (const I2cBus* bus : starting) which += " " + std::to_string(bus->number);
  throw AdapterChoiceError(shown + ": several buses have names starting so (i2c:N with N one of" + which + ")");
}

}  // namespace smb::i2c
