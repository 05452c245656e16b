// The Windows HID class driver through hid.dll and SetupAPI, both part of
// Windows: no vendor library and no driver to install.

#include <windows.h>
// After windows.h, which they need; mingw's HID headers declare C functions
// without saying so.
extern "C" {
#include <hidsdi.h>
}
#include <setupapi.h>

#include <algorithm>
#include <vector>

#include "platform/hid.h"

namespace platform {

namespace {

std::string SystemMessage(DWORD code) {
  char text[256] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                      text, sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
    message.pop_back();
  }
  return message.empty() ? "Windows error " + std::to_string(code) : message;
}

std::string Ascii(const wchar_t* text) {
  std::string ascii;
  for (; *text != L'\0'; ++text) ascii += *text >= 0x20 && *text < 0x7F ? static_cast<char>(*text) : '?';
  return ascii;
}

HANDLE OpenPath(const std::string& path, DWORD access, DWORD flags) {
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags,
                     nullptr);
}

class WindowsHidDevice : public HidDevice {
 public:
  WindowsHidDevice(HANDLE handle, const HIDP_CAPS& caps)
      : handle_(handle), event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), caps_(caps) {}
  ~WindowsHidDevice() override {
    CancelIo(handle_);
    CloseHandle(event_);
    CloseHandle(handle_);
  }

  // Windows takes and gives reports at the length the device declares.
  int Write(const std::uint8_t* report, std::size_t length) override {
    std::vector<std::uint8_t> padded = Padded(report, length, caps_.OutputReportByteLength);
    DWORD moved = 0;
    if (!Overlapped(WriteFile(handle_, padded.data(), static_cast<DWORD>(padded.size()), nullptr, Start()),
                    INFINITE, moved)) {
      return -1;
    }
    return static_cast<int>(length);
  }

  int Read(std::uint8_t* report, std::size_t capacity, int timeout_ms) override {
    std::vector<std::uint8_t> buffer(std::max<std::size_t>(caps_.InputReportByteLength, 1));
    DWORD moved = 0;
    if (!Overlapped(ReadFile(handle_, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, Start()),
                    static_cast<DWORD>(timeout_ms), moved)) {
      return error_ == ERROR_TIMEOUT ? 0 : -1;
    }
    const std::size_t count = std::min<std::size_t>(moved, capacity);
    std::copy_n(buffer.begin(), count, report);
    return static_cast<int>(count);
  }

  int SetFeature(const std::uint8_t* report, std::size_t length) override {
    std::vector<std::uint8_t> padded = Padded(report, length, caps_.FeatureReportByteLength);
    if (!HidD_SetFeature(handle_, padded.data(), static_cast<ULONG>(padded.size()))) return Failed();
    return static_cast<int>(length);
  }

  int GetFeature(std::uint8_t* report, std::size_t capacity) override {
    std::vector<std::uint8_t> buffer = Padded(report, 1, caps_.FeatureReportByteLength);
    if (!HidD_GetFeature(handle_, buffer.data(), static_cast<ULONG>(buffer.size()))) return Failed();
    const std::size_t count = std::min(buffer.size(), capacity);
    std::copy_n(buffer.begin(), count, report);
    return static_cast<int>(count);
  }

  std::string Error() const override { return SystemMessage(error_); }

 private:
  static std::vector<std::uint8_t> Padded(const std::uint8_t* report, std::size_t length, std::size_t declared) {
    std::vector<std::uint8_t> padded(std::max(length, declared), 0);
    std::copy_n(report, length, padded.begin());
    return padded;
  }

  int Failed() {
    error_ = GetLastError();
    return -1;
  }

  OVERLAPPED* Start() {
    overlapped_ = {};
    overlapped_.hEvent = event_;
    ResetEvent(event_);
    return &overlapped_;
  }

  // Waits for the transfer begun with `started`; a transfer that does not end
  // in time is cancelled, and the error is then ERROR_TIMEOUT.
  bool Overlapped(BOOL started, DWORD timeout_ms, DWORD& moved) {
    if (!started && GetLastError() != ERROR_IO_PENDING) {
      Failed();
      return false;
    }
    if (WaitForSingleObject(event_, timeout_ms) != WAIT_OBJECT_0) {
      CancelIo(handle_);
      GetOverlappedResult(handle_, &overlapped_, &moved, TRUE);
      error_ = ERROR_TIMEOUT;
      return false;
    }
    if (!GetOverlappedResult(handle_, &overlapped_, &moved, FALSE)) {
      Failed();
      return false;
    }
    return true;
  }

  HANDLE handle_;
  HANDLE event_;
  HIDP_CAPS caps_;
  OVERLAPPED overlapped_{};
  DWORD error_ = 0;
};

class WindowsHidTransport : public HidTransport {
 public:
  std::string Unavailable() override { return ""; }

  std::vector<HidDeviceInfo> Enumerate(std::uint16_t vendor_id, std::uint16_t product_id) override {
    std::vector<HidDeviceInfo> found;
    GUID hid_class;
    HidD_GetHidGuid(&hid_class);
    HDEVINFO set = SetupDiGetClassDevsA(&hid_class, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return found;
    SP_DEVICE_INTERFACE_DATA device_interface{};
    device_interface.cbSize = sizeof device_interface;
    for (DWORD index = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hid_class, index, &device_interface); ++index) {
      DWORD size = 0;
      SetupDiGetDeviceInterfaceDetailA(set, &device_interface, nullptr, 0, &size, nullptr);
      if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) continue;
      std::vector<std::uint8_t> storage(size);
      auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(storage.data());
      detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
      if (!SetupDiGetDeviceInterfaceDetailA(set, &device_interface, detail, size, nullptr, nullptr)) continue;
      if (auto info = Describe(detail->DevicePath, vendor_id, product_id)) found.push_back(*info);
    }
    SetupDiDestroyDeviceInfoList(set);
    return found;
  }

  std::unique_ptr<HidDevice> Open(const std::string& path, std::string& error) override {
    HANDLE handle = OpenPath(path, GENERIC_READ | GENERIC_WRITE, FILE_FLAG_OVERLAPPED);
    if (handle == INVALID_HANDLE_VALUE) {
      error = SystemMessage(GetLastError());
      return nullptr;
    }
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    HIDP_CAPS caps{};
    const bool described = HidD_GetPreparsedData(handle, &preparsed) && HidP_GetCaps(preparsed, &caps) == HIDP_STATUS_SUCCESS;
    if (preparsed != nullptr) HidD_FreePreparsedData(preparsed);
    if (!described) {
      error = "not a HID device";
      CloseHandle(handle);
      return nullptr;
    }
    return std::make_unique<WindowsHidDevice>(handle, caps);
  }

 private:
  // Asks the device for its identity without opening it for transfers, so a
  // device that another program has open is still listed.
  static std::unique_ptr<HidDeviceInfo> Describe(const char* path, std::uint16_t vendor_id,
                                                 std::uint16_t product_id) {
    HANDLE handle = OpenPath(path, 0, 0);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    std::unique_ptr<HidDeviceInfo> info;
    if (HidD_GetAttributes(handle, &attributes) && attributes.VendorID == vendor_id &&
        attributes.ProductID == product_id) {
      info = std::make_unique<HidDeviceInfo>();
      info->path = path;
      wchar_t text[128] = {};
      if (HidD_GetSerialNumberString(handle, text, sizeof text - sizeof text[0])) info->serial = Ascii(text);
      text[0] = L'\0';
      if (HidD_GetProductString(handle, text, sizeof text - sizeof text[0])) info->product = Ascii(text);
    }
    CloseHandle(handle);
    return info;
  }
};

}  // namespace

std::unique_ptr<HidTransport> SystemHidTransport() { return std::make_unique<WindowsHidTransport>(); }

}  // namespace platform
