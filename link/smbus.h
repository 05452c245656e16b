#pragma once
// The adapter operations as the program calls them: each one goes to the
// chosen backend and into the bus trace. Block reads never store more than
// the caller's buffer holds.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/adapter.h"
#include "link/trace.h"

namespace smb {

class SMBus {
 public:
  SMBus(Adapter& adapter, Trace& trace) : adapter_(adapter), trace_(trace) {}

  int SMBOpenDeviceVIDPID(int vendor_id, int product_id);
  int SMBInterfaceID();
  int SMBEnablePEC(int on);
  int SMBReadWord(int address, int command);
  // A word that ActsOnGauge to ManufacturerAccess is refused here, for every
  // adapter: kRefused, and a trace line that says so.
  int SMBWriteWord(int address, int command, int value);
  // The one way past that refusal: the seal command of the `seal` command.
  int SMBWriteSealCommand(int address, int seal_command);
  int SMBReadBlock(int address, int command, std::uint8_t* buffer, std::size_t capacity);
  template <std::size_t N>
  int SMBReadBlock(int address, int command, std::uint8_t (&buffer)[N]) {
    return SMBReadBlock(address, command, buffer, N);
  }
  int SMBWriteBlock(int address, int command, const std::uint8_t* data, int count);
  void SMBCloseDevice();

  Adapter& adapter() { return adapter_; }
  Trace& trace() { return trace_; }

 private:
  int WriteWord(int address, int command, int value);

  Adapter& adapter_;
  Trace& trace_;
  std::vector<std::uint8_t> reply_;
};

}  // namespace smb
