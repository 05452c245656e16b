#include "link/vendor/vendor_adapter.h"

#include <algorithm>
#include <cstring>

#include "platform/common/printable.h"
#include "platform/library.h"

namespace smb::vendor {

namespace {

// The library writes a block's data into the caller's buffer without being
// told its size; an SMBus block has at most 255 bytes, this leaves room to spare.
constexpr std::size_t kBlockBuffer = 512;
constexpr std::size_t kLongestBlock = 255;

template <typename Function>
void Resolve(void* handle, const std::string& library, const char* name, Function*& function) {
  void* address = platform::LibrarySymbol(handle, name);
  if (address == nullptr) {
    throw AdapterChoiceError("adapter library " + platform::Printable(library, 200) + ": the operation " + name +
                             " is missing");
  }
  function = reinterpret_cast<Function*>(address);
}

}  // namespace

const char* DefaultLibraryName() { return platform::kAdapterLibraryName; }

VendorAdapter::VendorAdapter(const std::string& library) {
  std::string error;
  handle_ = platform::OpenLibrary(library, error);
  if (handle_ == nullptr) {
    throw AdapterChoiceError("adapter library " + platform::Printable(library, 200) +
                             " cannot be loaded: " + platform::Printable(error, 300));
  }
  try {
    Resolve(handle_, library, "SMBOpenDeviceVIDPID", ops_.SMBOpenDeviceVIDPID);
    Resolve(handle_, library, "SMBInterfaceID", ops_.SMBInterfaceID);
    Resolve(handle_, library, "SMBEnablePEC", ops_.SMBEnablePEC);
    Resolve(handle_, library, "SMBReadWord", ops_.SMBReadWord);
    Resolve(handle_, library, "SMBWriteWord", ops_.SMBWriteWord);
    Resolve(handle_, library, "SMBReadBlock", ops_.SMBReadBlock);
    Resolve(handle_, library, "SMBWriteBlock", ops_.SMBWriteBlock);
    Resolve(handle_, library, "SMBCloseDevice", ops_.SMBCloseDevice);
  } catch (...) {
    platform::CloseLibrary(handle_);
    throw;
  }
}

VendorAdapter::~VendorAdapter() { platform::CloseLibrary(handle_); }

int VendorAdapter::OpenDeviceVIDPID(int vendor_id, int product_id) {
  return ops_.SMBOpenDeviceVIDPID(vendor_id, product_id);
}

int VendorAdapter::InterfaceID() { return ops_.SMBInterfaceID(); }

int VendorAdapter::EnablePEC(int on) { return ops_.SMBEnablePEC(on); }

int VendorAdapter::ReadWord(int address, int command) { return ops_.SMBReadWord(address, command); }

int VendorAdapter::WriteWord(int address, int command, int value) {
  return ops_.SMBWriteWord(address, command, value);
}

int VendorAdapter::ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) {
  unsigned char buffer[kBlockBuffer] = {};
  const int result = ops_.SMBReadBlock(address, command, buffer);
  // A count over 255 cannot have arrived whole: the reply then falls short of it.
  if (result > 0) reply.assign(buffer, buffer + std::min(static_cast<std::size_t>(result), kLongestBlock));
  return result;
}

int VendorAdapter::WriteBlock(int address, int command, const std::uint8_t* data, int count) {
  unsigned char buffer[kBlockBuffer] = {};
  const std::size_t length = static_cast<std::size_t>(std::clamp(count, 0, static_cast<int>(kBlockBuffer)));
  std::memcpy(buffer, data, length);
  return ops_.SMBWriteBlock(address, command, buffer, count);
}

void VendorAdapter::CloseDevice() { ops_.SMBCloseDevice(); }

}  // namespace smb::vendor
