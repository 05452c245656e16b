// hidapi's hidraw backend, loaded at run time: the program starts and links
// (also fully static, where no static libudev exists) without it, and only
// the CP2112 backend needs it.

#include <hidapi/hidapi.h>

#include <cwchar>

#include "platform/hid.h"
#include "platform/library.h"

namespace platform {

namespace {

constexpr const char* kHidapiLibrary = "libhidapi-hidraw.so.0";

struct HidapiCalls {
  decltype(&hid_init) init;
  decltype(&hid_exit) exit;
  decltype(&hid_enumerate) enumerate;
  decltype(&hid_free_enumeration) free_enumeration;
  decltype(&hid_open_path) open_path;
  decltype(&hid_close) close;
  decltype(&hid_write) write;
  decltype(&hid_read_timeout) read_timeout;
  decltype(&hid_send_feature_report) send_feature_report;
  decltype(&hid_get_feature_report) get_feature_report;
  decltype(&hid_error) error;
};

std::string Ascii(const wchar_t* text) {
  std::string ascii;
  for (; text != nullptr && *text != L'\0'; ++text) {
    ascii += *text >= 0x20 && *text < 0x7F ? static_cast<char>(*text) : '?';
  }
  return ascii;
}

class HidapiDevice : public HidDevice {
 public:
  HidapiDevice(const HidapiCalls& calls, hid_device* device) : calls_(calls), device_(device) {}
  ~HidapiDevice() override { calls_.close(device_); }

  int Write(const std::uint8_t* report, std::size_t length) override {
    return calls_.write(device_, report, length);
  }
  int Read(std::uint8_t* report, std::size_t capacity, int timeout_ms) override {
    return calls_.read_timeout(device_, report, capacity, timeout_ms);
  }
  int SetFeature(const std::uint8_t* report, std::size_t length) override {
    return calls_.send_feature_report(device_, report, length);
  }
  int GetFeature(std::uint8_t* report, std::size_t capacity) override {
    return calls_.get_feature_report(device_, report, capacity);
  }
  std::string Error() const override {
    const std::string reason = Ascii(calls_.error(device_));
    return reason.empty() ? "HID transfer failed" : reason;
  }

 private:
  const HidapiCalls& calls_;
  hid_device* device_;
};

class HidapiTransport : public HidTransport {
 public:
  // hidapi keeps its last error text until it is told to end.
  ~HidapiTransport() override {
    if (library_ != nullptr) calls_.exit();
    CloseLibrary(library_);
  }

  std::string Unavailable() override {
    if (library_ == nullptr && problem_.empty()) Load();
    return problem_;
  }

  std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor_id, std::uint16_t product_id) override {
    std::vector<HidDeviceInfo> found;
    if (!Unavailable().empty()) return found;
    hid_device_info* list = calls_.enumerate(vendor_id, product_id);
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
      found.push_back({info->path != nullptr ? info->path : "", Ascii(info->serial_number),
                       Ascii(info->product_string)});
    }
    calls_.free_enumeration(list);
    return found;
  }

  std::unique_ptr<HidDevice> Open(const std::string& path, std::string& error) override {
    if (error = Unavailable(); !error.empty()) return nullptr;
    hid_device* device = calls_.open_path(path.c_str());
    if (device == nullptr) {
      error = Ascii(calls_.error(nullptr));
      if (error.empty()) error = "cannot open " + path;
      return nullptr;
    }
    return std::make_unique<HidapiDevice>(calls_, device);
  }

 private:
  template <typename Call>
  bool Find(Call& call, const char* name) {
    call = reinterpret_cast<Call>(LibrarySymbol(library_, name));
    return call != nullptr;
  }

  void Load() {
    std::string error;
    library_ = OpenLibrary(kHidapiLibrary, error);
    if (library_ == nullptr) {
      problem_ = "hidapi cannot be loaded (" + error + "; Debian package libhidapi-hidraw0)";
      return;
    }
    const bool all = Find(calls_.init, "hid_init") && Find(calls_.exit, "hid_exit") &&
                     Find(calls_.enumerate, "hid_enumerate") &&
                     Find(calls_.free_enumeration, "hid_free_enumeration") &&
                     Find(calls_.open_path, "hid_open_path") && Find(calls_.close, "hid_close") &&
                     Find(calls_.write, "hid_write") && Find(calls_.read_timeout, "hid_read_timeout") &&
                     Find(calls_.send_feature_report, "hid_send_feature_report") &&
                     Find(calls_.get_feature_report, "hid_get_feature_report") && Find(calls_.error, "hid_error");
    if (!all) {
      problem_ = std::string(kHidapiLibrary) + " lacks a hidapi call";
    } else if (calls_.init() != 0) {
      problem_ = "hidapi cannot start: " + Ascii(calls_.error(nullptr));
    }
    if (!problem_.empty()) {
      CloseLibrary(library_);
      library_ = nullptr;
    }
  }

  void* library_ = nullptr;
  std::string problem_;
  HidapiCalls calls_{};
};

}  // namespace

std::unique_ptr<HidTransport> SystemHidTransport() { return std::make_unique<HidapiTransport>(); }

}  // namespace platform
