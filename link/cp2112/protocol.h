#pragma once
// The CP2112's HID reports (Silicon Labs application note AN495): its SMBus
// configuration, its version, and SMBus transfers made as a request,
// transfer-status polls until the chip is done, and forced reads of what it
// received.

#include <cstddef>
#include <cstdint>

#include "platform/hid.h"

namespace smb::cp2112 {

constexpr std::uint16_t kVendorId = 0x10C4;
constexpr std::uint16_t kProductId = 0xEA90;

enum ReportId : std::uint8_t {
  kVersionReport = 0x05,
  kSmbusConfigReport = 0x06,
  kWriteReadRequest = 0x11,
  kForceRead = 0x12,
  kReadResponse = 0x13,
  kWriteRequest = 0x14,
  kStatusRequest = 0x15,
  kStatusResponse = 0x16,
  kCancelTransfer = 0x17,
};

// Transfer status, first byte (status 0) and, on an error, second (status 1).
enum Status0 : std::uint8_t { kIdle = 0, kBusy = 1, kComplete = 2, kError = 3 };
enum ErrorStatus1 : std::uint8_t {
  kTimeoutNack = 0,
  kTimeoutBus = 1,
  kArbitrationLost = 2,
  kReadIncomplete = 3,
  kWriteIncomplete = 4,
};

constexpr std::size_t kReportLength = 64;
constexpr std::size_t kLongestWrite = 61;    // data bytes of one write request
constexpr std::size_t kChunk = 61;           // data bytes of one read response
constexpr std::size_t kLongestRead = 512;    // bytes one read request may ask for
constexpr int kStatusPollLimit = 1000;       // about 2 s of polls, beyond the chip's own timeouts

struct Version {
  int part_number = 0;
  int device_version = 0;
};

struct SmbusConfig {
  std::uint32_t clock_hz = 100000;
  bool auto_send_read = false;
  std::uint16_t write_timeout_ms = 500;
  std::uint16_t read_timeout_ms = 500;
  bool scl_low_timeout = true;
  std::uint16_t retries = 3;
};

// One CP2112, open. Each call returns 0 or a byte count, or a negative
// result code of link/adapter.h.
class Chip {
 public:
  explicit Chip(platform::HidDevice& device) : device_(device) {}

  int ReadVersion(Version& version);
  int Configure(const SmbusConfig& config);
  // Writes `out` to the 8-bit `address`; then, when `in_count` > 0, reads
  // `in_count` bytes into `in` after a repeated start (a write-read request).
  // Returns the number of bytes read.
  int Transfer(int address, const std::uint8_t* out, std::size_t out_count, std::uint8_t* in, std::size_t in_count);

 private:
  int Send(const std::uint8_t* report, std::size_t length);
  int Receive(std::uint8_t id, std::uint8_t (&report)[kReportLength]);
  int AwaitCompletion(std::size_t& length);
  int ForceRead(std::uint8_t* in, std::size_t count);
  int Cancel();

  platform::HidDevice& device_;
};

}  // namespace smb::cp2112
