#pragma once
// The program-wide state (one instance for the whole run) and the services
// every routine works through: the console, the bus and the pacing clock.

#include <cstdint>
#include <string>

#include "link/smbus.h"
#include "platform/console.h"

namespace core {

using platform::Cyan;
using platform::Green;
using platform::Magenta;
using platform::Red;
using platform::White;
using platform::Yellow;
using smb::BatteryAddress;

struct ProgramState {
  int status = 0;          // result of the last bus operation
  int VarPec = 1;          // PEC state as last set
  int BootRom = 0;         // gauge mode flag
  int StUnsealDevice = 0;  // 0 sealed, 1 unsealed, 2 full access
  std::uint16_t UnsealKEY1 = 0;
  std::uint16_t UnsealKEY2 = 0;
  std::uint16_t FASKEY1 = 0;
  std::uint16_t FASKEY2 = 0;
  std::string NameProg;    // the program's file name, at most 249 characters
  int SrchADP = 10;        // restart budget as last read or written
  std::uint8_t buf[256] = {};
  std::uint8_t buff[256] = {};
  std::uint8_t block[256] = {};
  char tempStr[64] = {};   // the chemistry text
  int tempWord = 0;
};

// The BootRom flag from a state-of-charge read (0x0D): a gauge still in its
// boot ROM answers above 100, or not at all.
inline int BootRomFromStateOfCharge(int state_of_charge) {
  return (state_of_charge < 0 || state_of_charge > 100) ? 1 : 0;
}

// Thrown to end the process with an exit code from deep inside a routine.
struct ProgramEnd {
  int code;
};

struct Program : ProgramState {
  Program(platform::Console& console, smb::SMBus& smbus) : con(console), bus(smbus) {}

  // A pacing sleep: traced, and taken in real time only when the adapter needs it.
  void Sleep(int milliseconds);
  void Beep(int frequency, int milliseconds);
  void RunRestart();

  platform::Console& con;
  smb::SMBus& bus;
  long long virtual_milliseconds = 0;  // time passed in sleeps that took no real time
};

}  // namespace core
