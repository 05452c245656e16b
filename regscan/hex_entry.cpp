#include <string>

#include "regscan/regscan.h"

namespace regscan {

using namespace core;

namespace {

// Anything that is not a hexadecimal digit, the missing second character of a
// one-character entry included, counts as 0.
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

int Enter2digitHEX(Program& p) {
  p.con.Print(Green, "            Enter your value : ");
  p.con.SetColour(White);
  // The whole word is taken off the input, however long: only its first two
  // characters count, and nothing of it is left to be read as menu choices.
  // End of input gives an empty word, so the scan starts at 0x00.
  const std::string word = p.con.ReadWord();
  const char first = word.size() > 0 ? word[0] : '\0';
  const char second = word.size() > 1 ? word[1] : '\0';
  return HexDigit(first) * 16 + HexDigit(second);
}

}  // namespace regscan
