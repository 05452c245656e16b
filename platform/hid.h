#pragma once
// USB HID devices, as the operating system offers them: hidapi's hidraw
// backend on Linux (loaded at run time), hid.dll and SetupAPI on Windows.
// Every report carries its report id in its first byte.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct HidDeviceInfo {
  std::string path;    // what Open takes
  std::string serial;  // the USB serial string, ASCII; empty when it has none
  std::string product;
};

class HidDevice {
 public:
  virtual ~HidDevice() = default;
  // Each returns the number of bytes moved, or -1 with the reason in Error().
  virtual int Write(const std::uint8_t* report, std::size_t length) = 0;
  // 0 when no input report came within `timeout_ms`.
  virtual int Read(std::uint8_t* report, std::size_t capacity, int timeout_ms) = 0;
  virtual int SetFeature(const std::uint8_t* report, std::size_t length) = 0;
  // `report[0]` names the feature report asked for.
  virtual int GetFeature(std::uint8_t* report, std::size_t capacity) = 0;
  virtual std::string Error() const = 0;
};

class HidTransport {
 public:
  virtual ~HidTransport() = default;
  // Empty when the system's HID access can be used; otherwise why not.
  virtual std::string Unavailable() = 0;
  virtual std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor_id, std::uint16_t product_id) = 0;
  // Null on failure, with the reason in `error`.
  virtual std::unique_ptr<HidDevice> Open(const std::string& path, std::string& error) = 0;
};

std::unique_ptr<HidTransport> SystemHidTransport();

}  // namespace platform
