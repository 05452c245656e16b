// A stand-in for the vendor adapter library: the eight operations with C
// linkage, answered by the simulated gauge of the profile named by
// FAKE_SMBUSB_PROFILE (default: the built-in bq40z50). The gauge answers
// only at the battery's address and the adapter only opens for the FX2LP's
// vendor and product IDs, so a caller that passes other arguments notices.
// FAKE_SMBUSB_INTERRUPT_AT names a word register (in hexadecimal) whose read
// interrupts the program (SIGINT) as it is being made.

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "link/sim/sim_adapter.h"

#ifdef _WIN32
#define EXPORTED __declspec(dllexport)
#else
#define EXPORTED __attribute__((visibility("default")))
#endif

namespace {

smb::sim::SimAdapter& Gauge() {
  static const std::unique_ptr<smb::sim::SimAdapter> gauge = [] {
    const char* profile = std::getenv("FAKE_SMBUSB_PROFILE");
    return std::make_unique<smb::sim::SimAdapter>(smb::sim::LoadProfile(profile ? profile : "bq40z50"), false);
  }();
  return *gauge;
}

bool AtBattery(int address) { return address == 0x16; }

}  // namespace

extern "C" {

EXPORTED int SMBOpenDeviceVIDPID(int vendor_id, int product_id) {
  if (vendor_id != 0x04B4 || product_id != 0x8613) return -1000;
  return Gauge().OpenDeviceVIDPID(vendor_id, product_id);
}

EXPORTED int SMBInterfaceID() { return Gauge().InterfaceID(); }

EXPORTED int SMBEnablePEC(int on) { return Gauge().EnablePEC(on); }

EXPORTED int SMBReadWord(int address, int command) {
  const char* interrupt_at = std::getenv("FAKE_SMBUSB_INTERRUPT_AT");
  if (interrupt_at != nullptr && std::strtol(interrupt_at, nullptr, 16) == command) std::raise(SIGINT);
  return AtBattery(address) ? Gauge().ReadWord(address, command) : -9;
}

EXPORTED int SMBWriteWord(int address, int command, int value) {
  return AtBattery(address) ? Gauge().WriteWord(address, command, value) : -9;
}

EXPORTED int SMBReadBlock(int address, int command, unsigned char* buffer) {
  if (!AtBattery(address)) return -9;
  std::vector<std::uint8_t> reply;
  const int result = Gauge().ReadBlock(address, command, reply);
  if (result > 0) std::memcpy(buffer, reply.data(), reply.size());
  return result;
}

EXPORTED int SMBWriteBlock(int address, int command, unsigned char* buffer, int count) {
  return AtBattery(address) ? Gauge().WriteBlock(address, command, buffer, count) : -9;
}

EXPORTED void SMBCloseDevice() { Gauge().CloseDevice(); }

}  // extern "C"
