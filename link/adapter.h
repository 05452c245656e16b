#pragma once
// The eight operations of an SMBus adapter. Each backend (simulated battery,
// Linux i2c-dev, the vendor library) implements them.

#include <cstdint>
#include <vector>

namespace smb {

// The battery's SMBus address in the 8-bit form the adapter operations take.
constexpr int BatteryAddress = 0x16;

constexpr int kAdapterVendorId = 0x04B4;
constexpr int kAdapterProductId = 0x8613;

class Adapter {
 public:
  virtual ~Adapter() = default;

  virtual int OpenDeviceVIDPID(int vendor_id, int product_id) = 0;
  virtual int InterfaceID() = 0;
  virtual int EnablePEC(int on) = 0;
  virtual int ReadWord(int address, int command) = 0;
  virtual int WriteWord(int address, int command, int value) = 0;
  // Returns the number of data bytes the battery sent, all of them in `reply`,
  // or a negative error code.
  virtual int ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) = 0;
  virtual int WriteBlock(int address, int command, const std::uint8_t* data, int count) = 0;
  virtual void CloseDevice() = 0;

  // Whether the program's sleeps and beeps must take their full time with
  // this adapter (a simulated battery needs no pacing).
  virtual bool PacedInRealTime() const = 0;

  // Why the last open attempt failed, as the operating system said it; empty
  // when there is nothing to say. Read from an interrupt handler too.
  virtual const char* OpenFailure() const { return ""; }
};

}  // namespace smb
