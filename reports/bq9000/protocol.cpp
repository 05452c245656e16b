// The bq9000-family report's exchange with the gauge: the mode words.

#include "reports/bq9000/internal.h"

namespace reports::bq9000_family {

using namespace core;

ModeWords ReadModeWords(Program& p) {
  ModeWords words{p.bus.SMBReadWord(BatteryAddress, 0x72), 0};
  p.Sleep(5);
  if (words.word72 == kNoReply) {
    words.word0d = p.bus.SMBReadWord(BatteryAddress, 0x0D);
    p.Sleep(5);
  }
  return words;
}

}  // namespace reports::bq9000_family
