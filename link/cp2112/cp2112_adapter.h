#pragma once
// A CP2112 USB-to-SMBus bridge, spoken to directly over HID (AN495), without
// the maker's library: on Linux through hidraw, on Windows through hid.dll.
//
// Words and blocks are write-read requests of a fixed length; the PEC byte
// is computed and checked here, since the chip has none. A block is read as
// its count, data and PEC, so blocks up to 255 bytes come back whole.

#include <cstdint>
#include <memory>
#include <string>

#include "link/adapter.h"
#include "link/cp2112/protocol.h"
#include "platform/hid.h"

namespace smb::cp2112 {

// Revision-1 chips cannot make the write-read transfer every SMBus read needs.
constexpr int kFirstWriteReadVersion = 2;

class Cp2112Adapter : public Adapter {
 public:
  // `serial` empty: the only CP2112 plugged in.
  Cp2112Adapter(std::unique_ptr<platform::HidTransport> transport, std::string serial, std::uint32_t clock_hz);

  // Answers the chip's device version (firmware line "V.0.0").
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
  int Open();
  int OpenFailed(const std::string& reason);
  int Checked(int result);  // closes the device when the chip is gone
  int Read(int address, std::uint8_t command, std::uint8_t* in, std::size_t count);
  int Write(int address, std::vector<std::uint8_t> out);

  std::unique_ptr<platform::HidTransport> transport_;
  std::string serial_;
  SmbusConfig config_;
  std::unique_ptr<platform::HidDevice> device_;
  std::unique_ptr<Chip> chip_;
  int version_ = 0;
  bool pec_on_ = false;
  std::string last_message_;
  std::string open_failure_;
};

}  // namespace smb::cp2112
