#pragma once
// A Linux i2c-dev bus (/dev/i2c-N): any SMBus adapter with a kernel driver.
//
// The adapter's functionality is read once at open. Block reads are plain I2C
// transfers wherever the adapter has them (USB bridge drivers truncate or
// break SMBus block reads), the SMBus calls otherwise. Word transfers use the
// kernel's SMBus calls where the adapter has them, and plain transfers for PEC
// on adapters whose driver has none (the program then computes and checks the
// PEC byte itself).

#include <string>

#include "link/adapter.h"

namespace smb::i2c {

// What an open adapter reports: version "1.0.0" and the expected interface
// (kAdapterInterfaceId). Its error codes are those of link/adapter.h.
constexpr int kOpenResult = 0x000001;

class I2cAdapter : public Adapter {
 public:
  explicit I2cAdapter(std::string device_path);
  ~I2cAdapter() override;

  int OpenDeviceVIDPID(int vendor_id, int product_id) override;
  int InterfaceID() override;
  int EnablePEC(int on) override;
  int ReadWord(int address, int command) override;
  int WriteWord(int address, int command, int value) override;
  int ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) override;
  int WriteBlock(int address, int command, const std::uint8_t* data, int count) override;
  void CloseDevice() override;
  bool PacedInRealTime() const override { return true; }
  const char* OpenFailure() const override { return open_failure_.c_str(); }

 private:
  bool Has(unsigned long functions) const { return (functions_ & functions) == functions; }
  bool SoftwarePec() const { return pec_on_ && !Has(kAdapterPec) && Has(kPlainI2c); }
  void ApplyPec();
  int SelectDevice(int address);
  int Code(int result);  // a kernel result: negative errno becomes our code
  int PlainTransfer(int address, const std::uint8_t* out, std::size_t out_count, std::uint8_t* in,
                    std::size_t in_count);
  int PlainReadWord(int address, int command);
  int PlainWrite(int address, int command, const std::uint8_t* data, std::size_t count);
  int PlainReadBlock(int address, int command, std::vector<std::uint8_t>& reply);
  int SmbusReadBlock(int command, int size, std::vector<std::uint8_t>& reply);
  void SayOnce(const std::string& message);
  int OpenFailed(const std::string& reason);

  static constexpr unsigned long kAdapterPec = 0x00000008;  // I2C_FUNC_SMBUS_PEC
  static constexpr unsigned long kPlainI2c = 0x00000001;    // I2C_FUNC_I2C

  std::string path_;
  std::string shown_path_;  // the path as a message may show it
  int fd_ = -1;
  unsigned long functions_ = 0;
  int selected_address_ = -1;
  bool pec_on_ = false;
  std::string last_message_;
  std::string open_failure_;
};

}  // namespace smb::i2c
