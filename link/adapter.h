#pragma once
// The eight operations of an SMBus adapter, their result codes and the error
// of an adapter that cannot be made. Each backend (simulated battery, Linux
// i2c-dev, the vendor library) implements them.

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace smb {

// The battery's SMBus address in the 8-bit form the adapter operations take.
constexpr int BatteryAddress = 0x16;

constexpr int kAdapterVendorId = 0x04B4;
constexpr int kAdapterProductId = 0x8613;
// What SMBInterfaceID answers for the expected adapter firmware ("SMU").
constexpr int kAdapterInterfaceId = 0x4D5355;

// Result codes: an operation that fails returns a negative code. The
// program acts on these; any other negative code is a plain failure.
constexpr int kNotAcknowledged = -9;  // no device answered, or it timed out
constexpr int kReadFailed = -1;       // the presence probe counts it as no battery
// Open results that the adapter search tells apart.
constexpr int kOpenNoAdapter = -1000;     // no adapter: its interface is not asked
constexpr int kOpenReopen = -1005;        // close and open again (or restart)
constexpr int kOpenRestart = -1010;       // the program must restart
// Further codes of the i2c-dev backend (the README lists them).
constexpr int kPecMismatch = -12;
constexpr int kProtocolError = -13;   // e.g. an impossible block length
constexpr int kArbitrationLost = -14;
constexpr int kNotSupported = -15;    // the adapter cannot make this transfer
constexpr int kAdapterGone = -16;
constexpr int kOtherError = -17;
// A word that the program never writes to ManufacturerAccess (see
// ActsOnGauge): refused before it reaches any adapter.
constexpr int kRefused = -18;

// ManufacturerAccess (0x00) subcommands that make every known gauge family act
// rather than answer: shut down, sleep, reset, seal, FET, fuse and enable
// toggles, lifetime and failure data resets, calibration, key changes
// (0x0010 to 0x004F), and ROM mode (0x0F00).
constexpr int kManufacturerAccessCommand = 0x00;
constexpr bool ActsOnGauge(int value) { return (value >= 0x0010 && value <= 0x004F) || value == 0x0F00; }

// An adapter that cannot be chosen or loaded; the message is one line.
class AdapterChoiceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Whether a block read's result is an error code or a count that the bytes
// which arrived cover.
inline bool BlockArrivedWhole(int result, const std::vector<std::uint8_t>& reply) {
  return result < 0 || static_cast<std::size_t>(result) <= reply.size();
}

class Adapter {
 public:
  virtual ~Adapter() = default;

  virtual int OpenDeviceVIDPID(int vendor_id, int product_id) = 0;
  virtual int InterfaceID() = 0;
  virtual int EnablePEC(int on) = 0;
  virtual int ReadWord(int address, int command) = 0;
  virtual int WriteWord(int address, int command, int value) = 0;
  // Returns the block's count as the battery sent it, or a negative error
  // code; `reply` holds the data bytes that arrived. A bus or driver may
  // deliver fewer bytes than the count says: such a reply is refused as a
  // whole (BlockArrivedWhole), never filled up.
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
