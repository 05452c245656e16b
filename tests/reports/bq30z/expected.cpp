#include "tests/reports/bq30z/expected.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "tests/support/fixture.h"

namespace bq30z_expected {

using namespace testing_support;

namespace {

const std::string kNl = "\n";

std::string Hex2(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02x", value);
  return text;
}

std::string Hex4(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", value);
  return text;
}

std::string Header(const std::string& soc_hex) {
  return CLS + C + " PEC = 1\n" + Y + " Read 0x0d:............... " + W + soc_hex + " Hex\n" + Sep(M, 39) +
         G + "          Vantrel-bq30z55" + kNl + W + "            READ Battery Info" + kNl + Sep(M, 39);
}

std::string Cells(int c4, int c3, int c2, int c1) {
  return std::string(W) + " Word 3C  " + C + "VCELL 4:........... " + W + std::to_string(c4) + " mV\n" + W +
         " Word 3D  " + C + "VCELL 3:            " + W + std::to_string(c3) + " mV\n" + W + " Word 3E  " + C +
         "VCELL 2:........... " + W + std::to_string(c2) + " mV\n" + W + " Word 3F  " + C +
         "VCELL 1:            " + W + std::to_string(c1) + " mV\n";
}

std::string Identification() {
  return std::string(Y) + " Device Type(0x0001) :....... " + R + "0550 Hex\n" + C + " Firmware Version(0x0002) :.. " +
         W + "0102 Hex\n" + M + " Hardware Version(0x0003) :.. " + R + "00A1 Hex\n" + W +
         " Chemistry ID(0x0006) :...... " + Y + "1210 Hex\n" + Sep(M, 38);
}

std::string NoFlags() { return std::string(W) + " No Flags                    OK" + kNl; }

// Words 0x09 and the four cell registers of the first two layouts; the
// first layout is unanswered on a bq30z55.
std::string CellTrace(int pack, int c1, int c2, int c3, int c4) {
  const std::string v = "rw 09 -> " + std::to_string(pack) + "\n";
  return v + "rw 3b -> -9\nrw 3a -> -9\nrw 39 -> -9\nrw 38 -> -9\n" + v + "rw 3f -> " + std::to_string(c1) +
         "\nrw 3e -> " + std::to_string(c2) + "\nrw 3d -> " + std::to_string(c3) + "\nrw 3c -> " +
         std::to_string(c4) + "\n";
}

std::string TextTrace(int command, const std::string& text) {
  std::string bytes;
  for (unsigned char ch : text) bytes += (bytes.empty() ? "" : " ") + Hex2(ch);
  return Rb(command, bytes) + "sleep 3\n";
}

std::string IdentificationTrace() {
  return DataRead(0x0001, "50 05") + DataRead(0x0002, "50 05 01 02 00 1A 00 03 00 00 00") +
         DataRead(0x0003, "A1 00") + DataRead(0x0006, "10 12");
}

}  // namespace

std::string Rb(int command, const std::string& bytes) {
  std::istringstream in(bytes);
  std::string byte;
  std::string listed;
  int count = 0;
  while (in >> byte) {
    for (char& ch : byte) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    listed += " " + byte;
    ++count;
  }
  return "rb " + Hex2(command) + " -> " + std::to_string(count) + listed + "\n";
}

std::string DataRead(int subcommand, const std::string& bytes) {
  return "ww 00 " + Hex4(subcommand) + "\n" + Rb(0x23, bytes);
}

std::string RowRead(int row, const std::string& bytes, int sleep) {
  return "ww 00 " + Hex4(0x0100 + row) + "\n" + Rb(0x2F, bytes) + "sleep " + std::to_string(sleep) + "\n";
}

std::string UnsealedReport() {
  std::string s = Header("004E");
  s += std::string(Y) + " Design Capacity:            " + W + "4800 mAh\n";
  s += std::string(C) + " Full Charge Capacity:...... " + Y + "4400 mAh\n";
  s += std::string(M) + " Cycle Count:                " + G + "112\n";
  s += std::string(C) + " Manufacture Date:..... " + Y + "46d6 " + C + "2015.06.22\n";
  s += std::string(Y) + " Design Voltage:             " + W + "14400 mV\n";
  s += std::string(R) + " Manufacturer Name:......... " + R + "Texas Inst." + kNl;
  s += std::string(G) + " Device Name:                " + G + "bq30z55" + kNl;
  s += std::string(M) + " Serial Number:............. 1A2B Hex\n";
  s += std::string(Y) + " Charging Voltage:           " + Y + "16800 mV\n";
  s += std::string(W) + " Charging Current:.......... " + W + "2800 mA\n";
  s += std::string(C) + " Device Chemistry:           " + R + "LION" + kNl;
  s += std::string(G) + " Temperature:............... 25.05 C\n";
  s += std::string(Y) + " Voltage:                    " + Y + "15224 mV\n";
  s += std::string(W) + " Current:................... " + W + "-500 mA\n";
  s += std::string(C) + " RelativeSOC                 78 %\n";
  s += std::string(G) + " AbsoluteSOC................ 72 %\n";
  s += std::string(Y) + " Remaining Capacity:         " + M + "3432 mAh\n";
  s += Cells(3806, 3807, 3805, 3806);
  s += std::string(Y) + " Specification Info:........ " + G + "0031 Hex\n" + Sep(M, 38);
  s += std::string(C) + " Battery Status (0x16):...... " + Y + "00C0 Hex\n" + R + " INIT DSG" + kNl + Sep(M, 38);
  s += std::string(C) + " Operation Status (0x54): " + Y + "00100207 Hex\n" + R + " FVS" + kNl +
       " SEC1 CHG DSG PRES" + kNl;
  s += Sep(M, 38) + G + " Device...................... UNSEALED" + kNl + Sep(M, 38);
  s += std::string(C) + " Gauging Status (0x0056):.... " + Y + "011E Hex\n" + R + " VDQ QEN VOK RU DSG" + kNl +
       Sep(M, 38);
  s += std::string(C) + " Manufacturing Status(0x0057):" + Y + "0058 Hex\n" + R + " PF FET GAUGE" + kNl + Sep(M, 38);
  s += std::string(C) + " Safety Status (0x51):... " + Y + "00000000 Hex\n" + R + NoFlags() + Sep(M, 38);
  s += std::string(C) + " PF Status (0x53):....... " + Y + "00000000 Hex\n" + R + NoFlags() + Sep(M, 38);
  s += std::string(C) + " Charging Status (0x55):... " + Y + "000200 Hex\n" + R + " MV" + kNl + Sep(M, 38);
  s += std::string(C) + " Max Error:                  " + W + "2 %\n" + Sep(M, 38);
  s += std::string(W) + " Update Status: ............ " + G + "0e   " + Y + "14\n";
  s += std::string(G) + " Qmax Cell-0:                " + C + "1130 " + W + "4400 mah\n";
  s += std::string(G) + " Qmax Cell-1: .............. " + C + "113a " + W + "4410 mah\n";
  s += std::string(G) + " Qmax Cell-2:                " + C + "1126 " + W + "4390 mah\n";
  s += std::string(G) + " Qmax Cell-3: .............. " + C + "1135 " + W + "4405 mah\n";
  s += std::string(W) + " Qmax Pack:                  " + C + "1126 " + M + "4390 mah\n" + Sep(M, 38);
  s += std::string(C) + " Cell-" + Y + "0" + G + " R_a flag:            " + Y + "0055 HEX\n";
  s += std::string(C) + " Cell-" + Y + "1" + G + " R_a flag:            " + Y + "0000 HEX\n";
  s += std::string(C) + " Cell-" + Y + "2" + G + " R_a flag:            " + Y + "FF55 HEX\n";
  s += std::string(C) + " Cell-" + Y + "3" + G + " R_a flag:            " + Y + "0055 HEX\n" + Sep(M, 38);
  s += Identification();
  s += std::string(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y + "-8 %      \n";
  s += Sep(M, 39) + R;
  return s;
}

std::string UnsealedTrace() {
  std::string t = "rw 0d -> 78\nrw 03 -> 24577\nrw 18 -> 4800\nrw 10 -> 4400\nrw 17 -> 112\nrw 1b -> 18134\n"
                  "rw 19 -> 14400\n";
  t += TextTrace(0x20, "Texas Inst.") + TextTrace(0x21, "bq30z55");
  t += "rw 1c -> 6699\nrw 15 -> 16800\nrw 14 -> 2800\n";
  t += TextTrace(0x22, "LION");
  t += "rw 08 -> 2982\nrw 09 -> 15224\nrw 0a -> 65036\nrw 0d -> 78\nrw 0e -> 72\nrw 0f -> 3432\n";
  t += CellTrace(15224, 3806, 3805, 3807, 3806);
  t += "rw 1a -> 49\nrw 16 -> 192\n";
  t += DataRead(0x0054, "07 02 10 00") + DataRead(0x0054, "07 02 10 00") + "sleep 0\n";
  t += DataRead(0x0056, "1E 01") + DataRead(0x0057, "58 00") + DataRead(0x0051, "00 00 00 00") +
       DataRead(0x0053, "00 00 00 00") + DataRead(0x0055, "00 02 00 00");
  t += "rw 0c -> 2\n";
  t += DataRead(0x0073, "02 00 0E 00 E8 03 00 00 5A 00 30 11 3A 11 26 11 35 11 10 27 00 00") + "sleep 5\n";
  t += RowRead(0x16,
               "00 00 00 11 30 11 3A 11 26 11 35 00 00 00 00 0E 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
               5);
  t += RowRead(0x28,
               "00 55 00 4B 00 46 00 44 00 46 00 4D 00 56 00 62 00 74 00 8A 00 A6 00 D0 01 16 01 9E 02 C0 00 00",
               10);
  t += RowRead(0x2A,
               "00 00 00 4C 00 47 00 45 00 47 00 4E 00 57 00 63 00 75 00 8B 00 A8 00 D2 01 18 01 A2 02 C6 00 00",
               10);
  t += RowRead(0x2C,
               "FF 55 00 4A 00 45 00 43 00 45 00 4C 00 55 00 61 00 72 00 88 00 A4 00 CE 01 14 01 9A 02 BA 00 00",
               10);
  t += RowRead(0x2E,
               "00 55 00 4B 00 46 00 44 00 46 00 4D 00 56 00 62 00 74 00 8A 00 A6 00 D0 01 16 01 9E 02 C0 00 00",
               10);
  t += IdentificationTrace();
  t += "rw 18 -> 4800\nrw 10 -> 4400\n";
  return t;
}

std::string SealedReport() {
  std::string s = Header("0058");
  s += std::string(Y) + " Design Capacity:            " + W + "4400 mAh\n";
  s += std::string(C) + " Full Charge Capacity:...... " + Y + "4320 mAh\n";
  s += std::string(M) + " Cycle Count:                " + G + "57\n";
  s += std::string(C) + " Manufacture Date:..... " + Y + "4963 " + C + "2016.11.03\n";
  s += std::string(Y) + " Design Voltage:             " + W + "14400 mV\n";
  s += std::string(R) + " Manufacturer Name:......... " + R + "Texas Inst." + kNl;
  s += std::string(G) + " Device Name:                " + G + "bq30z55" + kNl;
  s += std::string(M) + " Serial Number:............. 0C7E Hex\n";
  s += std::string(Y) + " Charging Voltage:           " + Y + "16800 mV\n";
  s += std::string(W) + " Charging Current:.......... " + W + "2000 mA\n";
  s += std::string(C) + " Device Chemistry:           " + R + "LION" + kNl;
  s += std::string(G) + " Temperature:............... 25.95 C\n";
  s += std::string(Y) + " Voltage:                    " + Y + "15801 mV\n";
  s += std::string(W) + " Current:................... " + W + "1500 mA\n";
  s += std::string(C) + " RelativeSOC                 88 %\n";
  s += std::string(G) + " AbsoluteSOC................ 86 %\n";
  s += std::string(Y) + " Remaining Capacity:         " + M + "3802 mAh\n";
  s += Cells(3951, 3952, 3948, 3950);
  s += std::string(Y) + " Specification Info:........ " + G + "0031 Hex\n" + Sep(M, 38);
  s += std::string(C) + " Battery Status (0x16):...... " + Y + "0080 Hex\n" + R + " INIT" + kNl + Sep(M, 38);
  s += std::string(C) + " Operation Status (0x54): " + Y + "00000307 Hex\n" + R + " SEC1 SEC0 CHG DSG PRES" + kNl;
  s += Sep(M, 38) + R + " Device........................ SEALED" + kNl + Sep(M, 38);
  s += std::string(C) + " Gauging Status (0x0056):.... " + Y + "0018 Hex\n" + R + " QEN VOK" + kNl + Sep(M, 38);
  s += std::string(C) + " Manufacturing Status(0x0057):" + Y + "0058 Hex\n" + R + " PF FET GAUGE" + kNl + Sep(M, 38);
  s += std::string(C) + " Safety Status (0x51):... " + Y + "00000000 Hex\n" + R + NoFlags() + Sep(M, 38);
  s += std::string(C) + " PF Status (0x53):....... " + Y + "00000000 Hex\n" + R + NoFlags() + Sep(M, 38);
  s += std::string(C) + " Charging Status (0x55):... " + Y + "000200 Hex\n" + R + " MV" + kNl + Sep(M, 38);
  // Sealed: straight from the Max Error separator to Device Type.
  s += std::string(C) + " Max Error:                  " + W + "1 %\n" + Sep(M, 38);
  s += Identification();
  s += std::string(C) + " Delta-Capacity " + W + "(DesCap-FCC):    " + Y + "-1 %      \n";
  s += Sep(M, 39) + R;
  return s;
}

std::string SealedTrace() {
  std::string t = "rw 0d -> 88\nrw 03 -> 24577\nrw 18 -> 4400\nrw 10 -> 4320\nrw 17 -> 57\nrw 1b -> 18787\n"
                  "rw 19 -> 14400\n";
  t += TextTrace(0x20, "Texas Inst.") + TextTrace(0x21, "bq30z55");
  t += "rw 1c -> 3198\nrw 15 -> 16800\nrw 14 -> 2000\n";
  t += TextTrace(0x22, "LION");
  t += "rw 08 -> 2991\nrw 09 -> 15801\nrw 0a -> 1500\nrw 0d -> 88\nrw 0e -> 86\nrw 0f -> 3802\n";
  t += CellTrace(15801, 3950, 3948, 3952, 3951);
  t += "rw 1a -> 49\nrw 16 -> 128\n";
  t += DataRead(0x0054, "07 03 00 00") + DataRead(0x0054, "07 03 00 00") + "sleep 0\n";
  t += DataRead(0x0056, "18 00") + DataRead(0x0057, "58 00") + DataRead(0x0051, "00 00 00 00") +
       DataRead(0x0053, "00 00 00 00") + DataRead(0x0055, "00 02 00 00");
  t += "rw 0c -> 1\n";
  t += IdentificationTrace();
  t += "rw 18 -> 4400\nrw 10 -> 4320\n";
  return t;
}

}  // namespace bq30z_expected
