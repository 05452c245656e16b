#include "link/cp2112/cp2112_adapter.h"

#include <algorithm>
#include <cstdio>

#include "link/i2c/pec.h"
#include "platform/common/printable.h"
#include "platform/system.h"

namespace smb::cp2112 {

namespace {

// The first read of a block takes the longest reply the program asks for
// whole: a bq40z manufacturer block (two echo bytes and 32 data bytes). A
// longer block costs a second transfer of its exact length.
constexpr std::size_t kFirstBlockRead = 34;
constexpr std::size_t kLongestBlock = 255;

std::string Named(const std::string& serial) {
  return serial.empty() ? "CP2112" : "CP2112 " + platform::Printable(serial, 60);
}

}  // namespace

Cp2112Adapter::Cp2112Adapter(std::unique_ptr<platform::HidTransport> transport, std::string serial,
                             std::uint32_t clock_hz)
    : transport_(std::move(transport)), serial_(std::move(serial)) {
  config_.clock_hz = clock_hz;
}

// Said when it happens, and kept to be said again when the program ends:
// the screens of the adapter search clear it away.
int Cp2112Adapter::OpenFailed(const std::string& reason) {
  {
    const platform::InterruptDeferral whole;
    open_failure_ = reason;
  }
  if (reason != last_message_) std::fprintf(stderr, "vantrel: %s\n", reason.c_str());
  last_message_ = reason;
  return kNotAcknowledged;
}

int Cp2112Adapter::Open() {
  if (const std::string problem = transport_->Unavailable(); !problem.empty()) return OpenFailed(problem);
  std::vector<platform::HidDeviceInfo> found = transport_->Enumerate(kVendorId, kProductId);
  if (!serial_.empty()) {
    std::erase_if(found, [&](const platform::HidDeviceInfo& info) { return info.serial != serial_; });
  }
  if (found.empty()) return OpenFailed(Named(serial_) + ": not found (is it plugged in?)");
  if (found.size() > 1) {
    std::string serials;
    for (const platform::HidDeviceInfo& info : found) serials += " " + platform::Printable(info.serial, 60);
    return OpenFailed("several CP2112s; choose one with cp2112:SERIAL (serials:" + serials + ")");
  }
  const std::string name = Named(found.front().serial);
  std::string error;
  device_ = transport_->Open(found.front().path, error);
  if (device_ == nullptr) {
    return OpenFailed(name + ": " + error + " (see \"CP2112 boards\" in the README for the udev rule)");
  }
  chip_ = std::make_unique<Chip>(*device_);
  Version version;
  if (chip_->ReadVersion(version) < 0 || chip_->Configure(config_) < 0) {
    CloseDevice();
    return OpenFailed(name + ": the chip does not answer its version and configuration reports");
  }
  if (version.device_version < kFirstWriteReadVersion) {
    CloseDevice();
    return OpenFailed(name + " is a revision-1 chip (version " + std::to_string(version.device_version) +
                      "), which cannot make the write-read transfers of SMBus reads; use a later CP2112");
  }
  version_ = version.device_version;
  last_message_.clear();
  {
    const platform::InterruptDeferral whole;
    open_failure_.clear();
  }
  return version_;
}

int Cp2112Adapter::OpenDeviceVIDPID(int, int) { return chip_ != nullptr ? version_ : Open(); }

int Cp2112Adapter::InterfaceID() { return chip_ != nullptr ? kAdapterInterfaceId : 0; }

void Cp2112Adapter::CloseDevice() {
  chip_.reset();
  device_.reset();
}

int Cp2112Adapter::EnablePEC(int on) {
  pec_on_ = on != 0;
  return 0;
}

// Unplugged: the next adapter check opens it afresh, or reports it missing.
int Cp2112Adapter::Checked(int result) {
  if (result == kAdapterGone) CloseDevice();
  return result;
}

// Writes the command and reads `count` bytes after a repeated start;
// returns how many arrived.
int Cp2112Adapter::Read(int address, std::uint8_t command, std::uint8_t* in, std::size_t count) {
  if (chip_ == nullptr) return kNotAcknowledged;
  return Checked(chip_->Transfer(address, &command, 1, in, count));
}

int Cp2112Adapter::Write(int address, std::vector<std::uint8_t> out) {
  if (chip_ == nullptr) return kNotAcknowledged;
  if (pec_on_) out.push_back(i2c::WritePec(address, out.data(), out.size()));
  return Checked(chip_->Transfer(address, out.data(), out.size(), nullptr, 0));
}

int Cp2112Adapter::ReadWord(int address, int command) {
  const auto code = static_cast<std::uint8_t>(command);
  const std::size_t pec = pec_on_ ? 1 : 0;
  std::uint8_t in[3] = {};
  const int r = Read(address, code, in, 2 + pec);
  if (r < 0) return r;
  if (static_cast<std::size_t>(r) < 2 + pec) return kProtocolError;
  if (pec != 0 && i2c::ReadPec(address, code, in, 2) != in[2]) return kPecMismatch;
  return in[0] | (in[1] << 8);
}

// Count byte, data and PEC byte, as the battery sends them. A count larger
// than the bytes that arrived is an error, never data.
int Cp2112Adapter::ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) {
  reply.clear();
  const auto code = static_cast<std::uint8_t>(command);
  const std::size_t pec = pec_on_ ? 1 : 0;
  std::uint8_t in[1 + kLongestBlock + 1] = {};
  const std::size_t first = 1 + kFirstBlockRead + pec;
  int r = Read(address, code, in, first);
  if (r < 0) return r;
  const std::size_t count = in[0];
  const std::size_t whole = 1 + count + pec;
  if (r >= 1 && whole > first) {
    r = Read(address, code, in, whole);
    if (r < 0) return r;
    if (in[0] != count) return kProtocolError;
  }
  if (static_cast<std::size_t>(r) < whole) return kProtocolError;
  if (pec != 0 && i2c::ReadPec(address, code, in, 1 + count) != in[1 + count]) return kPecMismatch;
  reply.assign(in + 1, in + 1 + count);
  return static_cast<int>(count);
}

int Cp2112Adapter::WriteWord(int address, int command, int value) {
  return Write(address, {static_cast<std::uint8_t>(command), static_cast<std::uint8_t>(value & 0xFF),
                         static_cast<std::uint8_t>((value >> 8) & 0xFF)});
}

int Cp2112Adapter::WriteBlock(int address, int command, const std::uint8_t* data, int count) {
  const std::size_t length = static_cast<std::size_t>(std::clamp(count, 0, static_cast<int>(kLongestBlock)));
  std::vector<std::uint8_t> out = {static_cast<std::uint8_t>(command), static_cast<std::uint8_t>(length)};
  out.insert(out.end(), data, data + length);
  return Write(address, std::move(out));
}

}  // namespace smb::cp2112
