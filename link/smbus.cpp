#include "link/smbus.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace smb {

namespace {

// The bytes of a transfer as the trace shows them: " bb" each.
std::string TraceBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  char hex[4];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(hex, sizeof hex, " %02x", bytes[i]);
    text += hex;
  }
  return text;
}

}  // namespace

int SMBus::SMBOpenDeviceVIDPID(int vendor_id, int product_id) {
  const int result = adapter_.OpenDeviceVIDPID(vendor_id, product_id);
  trace_.Line("open %04x %04x -> %d", vendor_id, product_id, result);
  return result;
}

int SMBus::SMBInterfaceID() {
  const int result = adapter_.InterfaceID();
  trace_.Line("id -> %d", result);
  return result;
}

int SMBus::SMBEnablePEC(int on) {
  const int result = adapter_.EnablePEC(on);
  trace_.Line("pec %d", on);
  return result;
}

int SMBus::SMBReadWord(int address, int command) {
  const int result = adapter_.ReadWord(address, command);
  trace_.Line("rw %02x -> %d", command, result);
  return result;
}

int SMBus::SMBWriteWord(int address, int command, int value) {
  if (command == kManufacturerAccessCommand && ActsOnGauge(value & 0xFFFF)) {
    trace_.Line("refused ww %02x %04x", command, value & 0xFFFF);
    return kRefused;
  }
  return WriteWord(address, command, value);
}

int SMBus::SMBWriteSealCommand(int address, int seal_command) {
  // The seal commands of the bq20z (0x0020) and bq40z (0x0030) families only.
  if (seal_command != 0x0020 && seal_command != 0x0030) {
    return SMBWriteWord(address, kManufacturerAccessCommand, seal_command);
  }
  return WriteWord(address, kManufacturerAccessCommand, seal_command);
}

int SMBus::WriteWord(int address, int command, int value) {
  const int result = adapter_.WriteWord(address, command, value);
  trace_.Line("ww %02x %04x", command, value & 0xFFFF);
  return result;
}

// No count from the bus sizes a copy: a count beyond the bytes that arrived or
// beyond the caller's buffer is a protocol error, and the trace says which.
int SMBus::SMBReadBlock(int address, int command, std::uint8_t* buffer, std::size_t capacity) {
  reply_.clear();
  const int result = adapter_.ReadBlock(address, command, reply_);
  if (result <= 0) {
    trace_.Line("rb %02x -> %d", command, result);
    return result;
  }
  const auto count = static_cast<std::size_t>(result);
  if (!BlockArrivedWhole(result, reply_)) {
    trace_.Line("rb %02x -> %d (count %d, %d bytes arrived)", command, kProtocolError, result,
                static_cast<int>(reply_.size()));
    return kProtocolError;
  }
  if (count > capacity) {
    trace_.Line("rb %02x -> %d (count %d, the reader takes %d)", command, kProtocolError, result,
                static_cast<int>(capacity));
    return kProtocolError;
  }
  std::memcpy(buffer, reply_.data(), count);
  if (trace_.enabled()) trace_.Line("rb %02x -> %d%s", command, result, TraceBytes(reply_.data(), count).c_str());
  return result;
}

int SMBus::SMBWriteBlock(int address, int command, const std::uint8_t* data, int count) {
  const int result = adapter_.WriteBlock(address, command, data, count);
  if (trace_.enabled()) {
    trace_.Line("wb %02x%s", command, TraceBytes(data, static_cast<std::size_t>(count)).c_str());
  }
  return result;
}

void SMBus::SMBCloseDevice() {
  adapter_.CloseDevice();
  trace_.Line("close");
}

}  // namespace smb
