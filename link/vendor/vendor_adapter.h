#pragma once
// The vendor adapter library (libsmbusb), loaded at run time: its eight
// operations looked up by name and called as the program calls them.

#include <string>

#include "link/adapter.h"

namespace smb::vendor {

struct Operations {
  int (*SMBOpenDeviceVIDPID)(int vendor_id, int product_id);
  int (*SMBInterfaceID)();
  int (*SMBEnablePEC)(int on);
  int (*SMBReadWord)(int address, int command);
  int (*SMBWriteWord)(int address, int command, int value);
  int (*SMBReadBlock)(int address, int command, unsigned char* buffer);
  int (*SMBWriteBlock)(int address, int command, unsigned char* buffer, int count);
  void (*SMBCloseDevice)();
};

class VendorAdapter : public Adapter {
 public:
  // Loads the library; throws AdapterChoiceError when it or one of the
  // operations cannot be found.
  explicit VendorAdapter(const std::string& library);
  ~VendorAdapter() override;

  int OpenDeviceVIDPID(int vendor_id, int product_id) override;
  int InterfaceID() override;
  int EnablePEC(int on) override;
  int ReadWord(int address, int command) override;
  int WriteWord(int address, int command, int value) override;
  int ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) override;
  int WriteBlock(int address, int command, const std::uint8_t* data, int count) override;
  void CloseDevice() override;
  bool PacedInRealTime() const override { return true; }

 private:
  void* handle_ = nullptr;
  Operations ops_{};
};

// The library's file name when none is given.
const char* DefaultLibraryName();

}  // namespace smb::vendor
