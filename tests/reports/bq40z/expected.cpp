#include "tests/reports/bq40z/expected.h"

#include <cstdio>

#include "tests/support/fixture.h"

namespace bq40z_expected {

using namespace testing_support;

namespace {

// --- expected output of the built-in bq40z50 packs ---

std::string Header() {
  return CLS + C + " PEC = 1\n" + Y + " Read 0x0d:............... " + W + "0055 Hex\n" + Sep(M, 39) + G +
         "         Vantrel-bq40z50" + "\n" + W + "          READ  Battery Info" + "\n" + Sep(M, 39);
}

std::string StandardLines() {
  std::string s;
  s += std::string(Y) + " Design Capacity:            " + W + "4800 mAh\n";
  s += std::string(C) + " Full Charge Capacity:...... " + Y + "4400 mAh\n";
  s += std::string(M) + " Cycle Count:                " + W + "37\n";
  s += std::string(C) + " Manufacture Date:..... " + Y + "4a6f " + C + "2017.03.15\n";
  s += std::string(Y) + " Design Voltage:             " + W + "14400 mV\n";
  s += std::string(R) + " Manufacturer Name:......... " + R + "Texas Inst." + "\n";
  s += std::string(G) + " Device Name:                " + G + "bq40z50" + "\n";
  s += std::string(C) + " Serial Number:............. " + C + "0A1B HEX\n";
  s += std::string(Y) + " Charging Voltage:           " + Y + "16800 mV\n";
  s += std::string(W) + " Charging Current:.......... " + W + "2000 mA\n";
  s += std::string(M) + " Device Chemistry:           " + M + "LION" + "\n";
  s += std::string(C) + " Temperature:............... 25.05 C\n";
  s += std::string(Y) + " Voltage:                    " + Y + "15224 mV\n";
  s += std::string(W) + " Current:................... " + W + "-1000 mA\n";
  s += std::string(C) + " RelativeSOC                 85 %\n";
  s += std::string(G) + " AbsoluteSOC................ 78 %\n";
  s += std::string(Y) + " Remaining Capacity:         " + M + "3740 mAh\n";
  // Cells from words 0x3F (cell 1) down to 0x3C (cell 4), cell 4 first.
  s += std::string(W) + " Word 3C  " + C + "VCELL 4:........... " + W + "3805 mV\n";
  s += std::string(W) + " Word 3D  " + C + "VCELL 3:            " + W + "3806 mV\n";
  s += std::string(W) + " Word 3E  " + C + "VCELL 2:........... " + W + "3805 mV\n";
  s += std::string(W) + " Word 3F  " + C + "VCELL 1:            " + W + "3808 mV\n";
  s += std::string(G) + " Specification Info:........ " + Y + "0031 Hex\n";
  s += Sep(M, 39);
  return s;
}

std::string StatusUpToOperation(const std::string& sec_byte) {
  std::string s;
  s += std::string(C) + " BatteryStatus (0x16):...... " + Y + "00C0 Hex\n" + R + " INIT DSG" + "\n" + Sep(M, 39);
  s += std::string(C) + " BatteryMode (0x03):........ " + Y + "6001 Hex\n" + R + " ChgM AM ICC" + "\n" + Sep(M, 39);
  const std::string sec_names = sec_byte == "02" ? " SEC1" : sec_byte == "03" ? " SEC1 SEC0" : " SEC0";
  s += std::string(C) + " OperationStatus (0x54):.. " + Y + "1000" + sec_byte + "87 Hex\n" + R + " CB" + "\n" +
       sec_names + " BTPint  CHG  DSG  PRES " + "\n";
  return s;
}

std::string StatusAfterSeal() {
  std::string s;
  s += std::string(C) + " GaugingStatus (0x0056):.... " + Y + "011840 Hex\n" + R + " VDQ" + "\n" + " QEN VOK DSG" +
       "\n" + Sep(M, 39);
  s += std::string(C) + " ManufacturingStatus (0x0057): " + Y + "0078 Hex\n" + R + " PF LF FET GAUGE" + "\n" + Sep(M, 39);
  s += std::string(C) + " SafetyStatus (0x51):..... " + Y + "00000000 Hex\n" + R + W +
       " No Flags                    OK" + "\n" + Sep(M, 39);
  s += std::string(C) + " PFStatus (0x53):......... " + Y + "00000000 Hex\n" + R + W +
       " No Flags                    OK" + "\n" + Sep(M, 39);
  s += std::string(C) + " ChargingStatus (0x55):..... " + Y + "000400 Hex\n" + R + " MV" + "\n" + Sep(M, 39);
  s += std::string(C) + " Max Error:                  " + W + "1 %\n";
  return s;
}

std::string SealLines(const char* colour, const char* line) {
  return Sep(M, 39) + colour + line + "\n" + Sep(M, 39);
}

std::string QmaxLines() {
  std::string s;
  s += std::string(C) + " Update Status: ............ " + Y + "14\n";
  s += std::string(G) + " Qmax Cell-0:                " + W + "4420 mah\n";
  s += std::string(G) + " Qmax Cell-1: .............. " + W + "4415 mah\n";
  s += std::string(G) + " Qmax Cell-2:                " + W + "4430 mah\n";
  s += std::string(G) + " Qmax Cell-3: .............. " + W + "4410 mah\n";
  s += std::string(W) + " Qmax Pack:                  " + M + "4410 mah\n";
  const char* flags[4] = {"0055", "0055", "0000", "0055"};
  for (int i = 0; i < 4; ++i) {
    s += std::string(C) + " Cell-" + Y + std::to_string(i) + C + " R_a flag:            " + Y + flags[i] + "\n";
  }
  return s;
}

std::string IdentityAndEnd() {
  std::string s;
  s += std::string(Y) + " Device Type(0x0001) :...... " + R + "4500 Hex\n";
  s += std::string(C) + " Firmware Version(0x0002) :. " + W + "0109 Hex\n";
  s += std::string(M) + " Hardware Version(0x0003) :. " + C + "00A1 Hex\n";
  s += std::string(W) + " Chemistry ID(0x0006) :..... " + Y + "1012 Hex\n";
  s += Sep(M, 39);
  // Design 4800, full charge 4400: (4800 - 4400) * 100 / 4800 = 8.
  s += std::string(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y + "-8 %      \n";
  s += Sep(M, 39) + R;
  return s;
}

// --- expected bus traffic ---

std::string TraceUpToOperation(const std::string& sec_byte) {
  std::string t =
      "rw 0d -> 85\n"
      "rw 03 -> 24577\nsleep 0\n"
      "rw 18 -> 4800\nsleep 0\n"
      "rw 10 -> 4400\n"
      "rw 17 -> 37\n"
      "rw 1b -> 19055\n"
      "rw 19 -> 14400\n"
      "rb 20 -> 11 54 65 78 61 73 20 49 6e 73 74 2e\n"
      "rb 21 -> 7 62 71 34 30 7a 35 30\n"
      "rw 1c -> 2587\n"
      "rw 15 -> 16800\n"
      "rw 14 -> 2000\n"
      "rb 22 -> 4 4c 49 4f 4e\n"
      "rw 08 -> 2982\n"
      "rw 09 -> 15224\n"
      "rw 0a -> 64536\n"
      "rw 0d -> 85\n"
      "rw 0e -> 78\n"
      "rw 0f -> 3740\n"
      // cell-voltage search: candidate 1 does not answer, candidate 2 fits
      "rw 09 -> 15224\nrw 3b -> -9\nrw 3a -> -9\nrw 39 -> -9\nrw 38 -> -9\n"
      "rw 09 -> 15224\nrw 3f -> 3808\nrw 3e -> 3805\nrw 3d -> 3806\nrw 3c -> 3805\n"
      "rw 1a -> 49\n"
      "rw 16 -> 192\n"
      "rw 03 -> 24577\nsleep 0\n";
  t += MbrTrace(0x0054, " 87 " + sec_byte + " 00 10");
  return t;
}

std::string TraceAfterKeys() {
  return MbrTrace(0x0056, " 40 18 01") + MbrTrace(0x0057, " 78 00") + MbrTrace(0x0051, " 00 00 00 00") +
         MbrTrace(0x0053, " 00 00 00 00") + MbrTrace(0x0055, " 00 04 00") + "rw 0c -> 1\nsleep 1\n";
}

std::string QmaxTrace() {
  return MbrTrace(0x0001, " 00 45") +
         MbrTrace(0x0118, " 0a 00 0b 00 0c 00 44 11 3f 11 4e 11 3a 11 3a 11 00 00 0e 00") +
         MbrTrace(0x0108, " 55 00 2b 00") + MbrTrace(0x010A, " 55 00 2c 00") + MbrTrace(0x010C, " 00 00 2a 00") +
         MbrTrace(0x010E, " 55 00 2d 00");
}

std::string IdentityTrace() {
  return MbrTrace(0x0001, " 00 45") + MbrTrace(0x0002, " 00 45 01 09 00 17 00 03 85 02 00") +
         MbrTrace(0x0003, " a1 00") + MbrTrace(0x0006, " 12 10") + "rw 18 -> 4800\nrw 10 -> 4400\n";
}

}  // namespace

std::string PackReport(Pack pack) {
  switch (pack) {
    case Pack::Unsealed:
      return Header() + StandardLines() + StatusUpToOperation("02") +
             SealLines(G, " Device....................... UNSEALED") + StatusAfterSeal() + Sep(M, 39) + QmaxLines() +
             Sep(M, 39) + IdentityAndEnd();
    case Pack::Sealed:
      // Max Error is followed by one separator and then the identity lines.
      return Header() + StandardLines() + StatusUpToOperation("03") +
             SealLines(R, " Device......................... SEALED") + StatusAfterSeal() + Sep(M, 39) +
             IdentityAndEnd();
    case Pack::FullAccess:
      return Header() + StandardLines() + StatusUpToOperation("01") +
             SealLines(G, " Device.......... UNSEALED & FullAccess") + StatusAfterSeal() + Sep(M, 39) + QmaxLines() +
             Sep(M, 39) + IdentityAndEnd();
  }
  return "";
}

std::string PackTrace(Pack pack) {
  switch (pack) {
    case Pack::Unsealed:
      // The seal check reads OperationStatus once more with its own buffer.
      return TraceUpToOperation("02") + MbrTrace(0x0054, " 87 02 00 10") + TraceAfterKeys() + QmaxTrace() +
             IdentityTrace();
    case Pack::Sealed:
      return TraceUpToOperation("03") + MbrTrace(0x0054, " 87 03 00 10") + TraceAfterKeys() + IdentityTrace();
    case Pack::FullAccess:
      return TraceUpToOperation("01") + MbrTrace(0x0054, " 87 01 00 10") +
             MbrTrace(0x0035, " 14 04 72 36 ff ff ff ff") + TraceAfterKeys() + QmaxTrace() + IdentityTrace();
  }
  return "";
}

std::string MbrTrace(int subcommand, const std::string& reply_data_bytes) {
  char request[16];
  std::snprintf(request, sizeof request, " %02x %02x", subcommand & 0xFF, (subcommand >> 8) & 0xFF);
  const std::size_t count = 2 + reply_data_bytes.size() / 3;
  return std::string("wb 44") + request + "\nsleep 5\nrb 44 -> " + std::to_string(count) + request +
         reply_data_bytes + "\nsleep 5\n";
}

}  // namespace bq40z_expected
