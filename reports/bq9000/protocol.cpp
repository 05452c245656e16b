// The bq9000-family report's exchange with the gauge: the mode words.

#include <iterator>

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

const ModeRule& MatchModeRule(const ModeWords& words) {
  const bool answered = words.word72 != kNoReply;
  for (const ModeRule& rule : kModeRules) {
    if (rule.word72 != kAnyOther && rule.word72 != words.word72) continue;
    if (!answered && (words.word0d < rule.min0d || words.word0d > rule.max0d)) continue;
    return rule;
  }
  return kModeRules[std::size(kModeRules) - 1];
}

bool ModeWordsIdentifyFamily(const ModeWords& words) {
  const DetectionLine line = MatchModeRule(words).line;
  return line == DetectionLine::Word72 || line == DetectionLine::BootRomWord;
}

GaugeMode ModeOf(const ModeWords& words) {
  // The report's BootRom values: 0 normal, 1 and 2 boot ROM, 3 calibration.
  switch (MatchModeRule(words).boot_rom) {
    case 0: return GaugeMode::Normal;
    case 1:
    case 2: return GaugeMode::BootRom;
    case 3: return GaugeMode::Calibration;
    default: return GaugeMode::Unknown;
  }
}

}  // namespace reports::bq9000_family
