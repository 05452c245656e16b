#include "tests/support/screens.h"

namespace testing_support {

std::string StartupScreen(const std::string& name) {
  return CLS + C + " Program run NAME = " + Y + name + NL;
}

std::string AttemptScreen() {
  return CLS + M + Dashes(52) + NL + G + "               Vantrel\n" + NL + C +
         "                      PAUSE...\n" + NL;
}

std::string SuccessScreen(const std::string& version) {
  return std::string(M) + Dashes(52) + NL + Y + "          SMBusb Firmware Version: " + version + "\n" + M +
         Dashes(52) + "\n" + NL;
}

std::string FileErrorBlock() {
  return std::string(R) + Dashes(49) + NL + R + "       Error opening file " + Y + "CountSRCHadp.bin" + NL + C +
         Dashes(49) + NL;
}

std::string FailurePassScreen(const std::string& number) {
  return std::string(M) + Dashes(52) + "\n" + NL + C + "           Adapter " + W + "FX2LP " + R +
         "NOT in SYSTEM !!!\n" + NL + Y + "           Please Connect Adapter FX2LP...\n" + NL + M + Dashes(52) +
         "\n" + NL + C + "          NUMBER " + number + "  " + R + "Search Adapter FX2LP...\n" + NL + M +
         Dashes(52) + "\n" + NL;
}

std::string NoBatteryScreen(const std::string& manuf, const std::string& soc, int counter) {
  return std::string(C) + Dashes(39) + NL + M + " ManufAccess:............. " + M + manuf + " Hex\n\n" + Y +
         " Read 0x0d:............... " + W + soc + " Hex\n" + C + Dashes(39) + NL + R +
         "       NO Read SMBus Device...\n" + NL + Y + "      Please Connect DEVICE !!!\n" + NL + C +
         "          Read Number " + W + std::to_string(counter) + " ...\n" + C + Dashes(39) + NL;
}

std::string MenuScreen(const std::string& read_0d_hex) {
  std::string s = std::string(W) + " Read 0x0d = " + read_0d_hex + "\n" + C + " PEC = 1\n";
  s += std::string(M) + Dashes(40) + NL;
  s += std::string(G) + "         Vantrel\n" + NL;
  s += std::string(M) + Dashes(40) + NL;
  s += std::string(W) + "            SELECT AN ACTION" + NL;
  s += std::string(M) + Dashes(40) + "\n" + NL;
  s += std::string(Y) + "   1. " + G + "READ " + Y + "bq20zXXX " + C + "Info\n" + NL;
  s += std::string(W) + "   2. " + G + "READ " + W + "bq30zXXX " + C + "Info\n" + NL;
  s += std::string(Y) + "   3. " + G + "READ " + Y + "bq40zXXX " + C + "Info\n" + NL;
  s += std::string(W) + "   4. " + G + "READ " + W + "bq9000/8050/8055/8030/\n" + NL;
  s += std::string(W) + "      /m37512... " + Y + "and other " + C + "Info\n" + NL;
  s += std::string(M) + Dashes(39) + "\n" + NL;
  s += std::string(Y) + "   5. " + W + "PEC = " + G + "ON\n" + NL;
  s += std::string(Y) + "   6. " + W + "PEC = " + R + "OFF\n" + NL;
  s += std::string(M) + Dashes(39) + "\n" + NL;
  s += std::string(W) + "   Z. " + Y + "TEST " + G + "Read WORD " + C + "from 0x00 to 0xFF\n" + NL;
  s += std::string(Y) + "   Y. " + G + "Read WORD Reg[00] : \n" + NL;
  s += std::string(R) + "   Write" + Y + "[00WW] => [00]:" + C + "WW = 0x00 to 0xFF\n" + NL;
  s += std::string(M) + Dashes(40) + "\n" + NL;
  s += std::string(W) + "   X. " + Y + "TEST " + W + "Read BLOCK " + C + "from 0x00 to 0xFF\n" + NL;
  s += std::string(Y) + "   B. " + G + "Read Block Reg[23] : \n" + NL;
  s += std::string(R) + "  Write" + Y + "[00WW] => [00]:" + C + "WW = 0x00 to 0xFF\n" + NL;
  s += std::string(M) + Dashes(40) + "\n" + NL;
  s += std::string(Y) + "   0. " + R + "EXIT\n" + NL;
  s += std::string(M) + Dashes(40) + "\n" + NL;
  s += std::string(Y) + "        YOUR CHOICE: " + W;
  return s;
}

std::string DefaultBatteryCycle() { return AttemptScreen() + SuccessScreen("1.2.3") + CLS + MenuScreen("0055"); }

const char* const kDefaultBatteryCycleTrace =
    "open 04b4 8613 -> 197121\n"
    "id -> 5067605\n"
    "rw 00 -> -9\n"
    "sleep 1\n"
    "rw 0d -> 85\n"
    "sleep 1\n"
    "pec 1\n"
    "sleep 5\n"
    "rw 0d -> 85\n";

std::string PauseText() { return ConsoleCommands().pause; }

}  // namespace testing_support
