#include "tests/reports/bq20z/expected.h"

#include "tests/support/fixture.h"
#include "tests/support/screens.h"

namespace bq20z_expected {

using namespace testing_support;

namespace {

// Header to Operation Status: identical on both profiles but for the
// Operation Status word (0xE041 sealed, 0xC041 unsealed).
std::string Top(const std::string& op_status_hex, const std::string& op_status_names) {
  std::string s = CLS;
  s += S(C) + " PEC = 1\n";
  s += S(Y) + " Read 0x0d:............... " + W + "0055 Hex\n";
  s += S(M) + Dashes(39) + NL;
  s += S(G) + "         Vantrel_bq20zXX" + NL;
  s += S(W) + "           READ Battery Info" + NL;
  s += S(M) + Dashes(39) + NL;
  s += S(Y) + " Design Capacity:            " + W + "4800 mAh\n";
  s += S(C) + " Full Charge Capacity:...... " + Y + "4400 mAh\n";
  s += S(R) + " Cycle Count:                " + W + "37\n";
  s += S(C) + " Manufacture Date:..... " + Y + "4c8a " + C + "2018.04.10\n";
  s += S(Y) + " Design Voltage:             " + W + "14800 mV\n";
  s += S(R) + " Manufacturer Name:......... " + R + "Texas Inst.\n";
  s += S(G) + " Device Name:                " + G + "bq20z65\n";
  s += S(M) + " Serial Number:............. " + M + "0A1B Hex\n";
  s += S(Y) + " Charging Voltage:           " + Y + "16800 mV\n";
  s += S(W) + " Charging Current:.......... " + W + "2000 mA\n";
  s += S(C) + " Device Chemistry:           " + R + "LION\n";
  s += S(M) + " Temperature:............... " + W + "25.05 C\n";
  s += S(Y) + " Voltage:                    " + Y + "16450 mV\n";
  s += S(W) + " Current:................... " + W + "-1000 mA\n";
  s += S(C) + " RelativeSOC                 85 %\n";
  s += S(G) + " AbsoluteSOC................ 78 %\n";
  s += S(Y) + " Remaining Capacity:         " + M + "3740 mAh\n";
  // The pack keeps its cells in words 0x3F (cell 1) to 0x3C (cell 4).
  s += S(W) + " Word 3C  " + C + "VCELL 4:........... " + W + "4112 mV\n";
  s += S(W) + " Word 3D  " + C + "VCELL 3:            " + W + "4110 mV\n";
  s += S(W) + " Word 3E  " + C + "VCELL 2:........... " + W + "4115 mV\n";
  s += S(W) + " Word 3F  " + C + "VCELL 1:            " + W + "4113 mV\n";
  s += S(Y) + " Specification Info:........ " + G + "0031 Hex\n";
  s += S(M) + Dashes(38) + NL;
  s += S(W) + " Battery Status (0x16):..... " + Y + "00C0 Hex\n" + R + " INIT DSG" + NL;
  s += S(M) + Dashes(39) + NL;
  s += S(C) + " BatteryMode (0x03):........ " + Y + "6001 Hex\n" + R + " ChgM AM ICC" + NL;
  s += S(M) + Dashes(38) + NL;
  s += S(Y) + " Operation Status (0x54):... " + W + op_status_hex + " Hex\n" + R + op_status_names + NL;
  return s;
}

std::string SafetyPfCharging() {
  std::string s;
  s += S(W) + " Safety Status (0x51):...... " + Y + "0000 Hex\n" + R + G + " No Flags                    OK" + NL;
  s += S(M) + Dashes(37) + NL;
  s += S(W) + " PF Status (0x53):.......... " + Y + "0000 Hex\n" + R + G + " No Flags                    OK" + NL;
  s += S(M) + Dashes(37) + NL;
  s += S(Y) + " Charging Status (0x55):.... " + W + "0200 Hex\n" + R + " FCHG" + NL;
  s += S(M) + Dashes(37) + NL;
  return s;
}

std::string MaxError() { return S(W) + " Max Error:                  " + W + "2 %\n"; }

std::string Bottom() {
  std::string s;
  s += S(M) + Dashes(37) + NL;
  s += S(Y) + " Device Type:     (0x0001):. " + W + "0650 Hex\n";
  s += S(M) + " Firmware Version:(0x0002):. " + Y + "0151 Hex\n";
  s += S(C) + " Hardware Version:(0x0003):. " + W + "00a5 Hex\n";
  s += S(W) + " Chemisry ID:(0x0008):...... " + Y + "0100 Hex\n";
  s += S(M) + Dashes(37) + NL;
  // Design 4800, full charge 4400: 400 * 100 / 4800 = 8.
  s += S(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y + "-8 %      \n";
  s += S(M) + Dashes(39) + NL;
  s += R;
  return s;
}

const char* kTopTrace =
    "rw 0d -> 85\n"
    "rw 03 -> 24577\n"
    "sleep 1\n"
    "rw 18 -> 4800\nsleep 1\n"
    "rw 10 -> 4400\nsleep 1\n"
    "rw 17 -> 37\nsleep 1\n"
    "rw 1b -> 19594\n"
    "rw 19 -> 14800\nsleep 1\n"
    "rb 20 -> 11 54 65 78 61 73 20 49 6e 73 74 2e\nsleep 2\n"
    "rb 21 -> 7 62 71 32 30 7a 36 35\nsleep 2\n"
    "rw 1c -> 2587\nsleep 1\n"
    "rw 15 -> 16800\nsleep 1\n"
    "rw 14 -> 2000\nsleep 1\n"
    "rb 22 -> 4 4c 49 4f 4e\nsleep 2\n"
    "rw 08 -> 2982\nsleep 1\n"
    "rw 09 -> 16450\nsleep 1\n"
    "rw 0a -> 64536\nsleep 1\n"
    "rw 0d -> 85\n"
    "rw 0e -> 78\n"
    "rw 0f -> 3740\n"
    // cell search: candidate 1 is not answered, candidate 2 matches
    "rw 09 -> 16450\nrw 3b -> -9\nrw 3a -> -9\nrw 39 -> -9\nrw 38 -> -9\n"
    "rw 09 -> 16450\nrw 3f -> 4113\nrw 3e -> 4115\nrw 3d -> 4110\nrw 3c -> 4112\n"
    "rw 1a -> 49\n"
    "rw 16 -> 192\nsleep 1\n"
    "rw 03 -> 24577\nsleep 1\n";

std::string OperationStatusTwice(const std::string& value) {
  const std::string read = "ww 00 0054\nsleep 1\nrw 00 -> " + value + "\nsleep 1\n";
  return read + read;
}

const char* kSafetyPfChargingTrace =
    "ww 00 0051\nrw 00 -> 0\nsleep 1\n"
    "ww 00 0053\nrw 00 -> 0\nsleep 1\n"
    "ww 00 0055\nrw 00 -> 512\nsleep 1\n";

const char* kBottomTrace =
    "ww 00 0001\nsleep 1\nrw 00 -> 1616\nsleep 1\n"
    "ww 00 0002\nsleep 1\nrw 00 -> 337\nsleep 1\n"
    "ww 00 0003\nsleep 1\nrw 00 -> 165\nsleep 1\n"
    "ww 00 0008\nsleep 1\nrw 00 -> 256\nsleep 1\n"
    "rw 18 -> 4800\n"
    "rw 10 -> 4400\n";

const char* kPageTail =
    " 00 0b 00 0c 00 0d 00 0f 00 12 00 15 00 19 00 1e 00 24 00 2c 00 38 00 4a 00 66 00 90 00";

}  // namespace

std::string SealedScreen() {
  std::string s = Top("E041", " PRES FAS SS DSG QEN");
  s += S(M) + Dashes(38) + NL + R + " Device....................... SEALED" + NL + M + Dashes(38) + NL;
  s += SafetyPfCharging();
  s += S(W) + " FET-Control (0x0006):...... " + Y + "0000 Hex\n" + G + " FET =" + Y + " CHG-" + W + "ON" + Y +
       " DHG-" + W + "ON" + NL;
  s += S(M) + Dashes(38) + NL;
  s += MaxError();
  s += Bottom();
  return s;
}

std::string SealedTrace() {
  return std::string(kTopTrace) + OperationStatusTwice("57409") + kSafetyPfChargingTrace +
         "ww 00 0006\nsleep 1\nrw 00 -> 0\nsleep 1\n" + "rw 0c -> 2\nsleep 1\n" + kBottomTrace;
}

std::string UnsealedScreen() {
  std::string s = Top("C041", " PRES FAS DSG QEN");
  s += S(M) + Dashes(38) + NL + G + " Device..................... UNSEALED" + NL + M + Dashes(38) + NL;
  s += S(Y) + " UnSeal: .... " + C + "Key-1 Key-2 .. " + Y + "0414 3672\n";
  s += S(G) + " Full-Access: " + C + "Key-1 Key-2 .. " + G + "ffff ffff\n";
  s += S(W) + " PF Key: .... " + C + "Key-1 Key-2 .. " + W + "2673 1712\n";
  s += S(M) + Dashes(38) + NL;
  s += SafetyPfCharging();
  s += S(C) + " FET-Control (0x46):........ " + Y + "06 Hex\n" + G + " FET =" + Y + " Pre-CHG=" + R + "OFF" + Y +
       " CHG=" + W + "ON" + Y + " DHG=" + W + "ON" + NL;
  s += S(M) + Dashes(38) + NL;
  s += MaxError();
  s += S(M) + " Update Status: ............ " + Y + "14\n";
  s += S(G) + " Qmax " + Y + "Cell-0:                " + W + "4200 mah\n";
  s += S(G) + " Qmax " + Y + "Cell-1: .............. " + W + "4202 mah\n";
  s += S(G) + " Qmax " + Y + "Cell-2:                " + W + "4190 mah\n";
  s += S(G) + " Qmax " + Y + "Cell-3: .............. " + W + "4194 mah\n";
  s += S(W) + " Qmax Pack:                  " + Y + "4190 mah\n";
  s += S(M) + Dashes(37) + NL;
  s += S(W) + " Cell-0 " + C + "R_a flag:            " + Y + "0000\n";
  s += S(W) + " Cell-1 " + C + "R_a flag:            " + Y + "0055\n";
  s += S(W) + " Cell-2 " + C + "R_a flag:            " + Y + "ff55\n";
  s += S(W) + " Cell-3 " + C + "R_a flag:            " + Y + "ffff\n";
  s += Bottom();
  return s;
}

std::string UnsealedTrace() {
  std::string t = std::string(kTopTrace) + OperationStatusTwice("49217");
  t += "rb 60 -> 4 14 04 72 36\nsleep 3\n";
  t += "rb 61 -> 4 ff ff ff ff\nsleep 3\n";
  t += "rb 62 -> 4 73 26 12 17\nsleep 3\n";
  t += kSafetyPfChargingTrace;
  t += "rw 46 -> 6\n";
  t += "rw 0c -> 2\nsleep 1\n";
  t += "ww 77 0052\nsleep 1\n";
  t += "rb 78 -> 32 10 68 10 6a 10 5e 10 62 10 5e 00 00 0e 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
       "00 00\nsleep 3\n";
  t += std::string("ww 77 0058\nsleep 1\nrb 78 -> 32 00 00") + kPageTail + " d0\nsleep 3\n";
  t += "ww 77 0059\nsleep 1\nrb 78 -> 32 00 55 00 0b 00 0c 00 0d 00 0e 00 12 00 15 00 19 00 1e 00 24 00 2b 00 37 00 "
       "49 00 65 00 8f 00 ce\nsleep 3\n";
  t += "ww 77 005a\nsleep 1\nrb 78 -> 32 ff 55 00 0c 00 0c 00 0d 00 0f 00 12 00 16 00 1a 00 1f 00 25 00 2d 00 39 00 "
       "4b 00 67 00 91 00 d2\nsleep 3\n";
  t += std::string("ww 77 005b\nsleep 1\nrb 78 -> 32 ff ff") + kPageTail + " cf\nsleep 3\n";
  t += kBottomTrace;
  return t;
}

}  // namespace bq20z_expected
