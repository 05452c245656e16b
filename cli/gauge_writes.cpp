#include "cli/gauge_writes.h"

#include <charconv>
#include <cstdio>

namespace cli {

using core::BatteryAddress;

namespace {

constexpr int kManufacturerAccess = 0x00;
constexpr int kManufacturerBlock = 0x44;

constexpr const char* kKeyForms =
    "KEY is two 16-bit words in the order they are sent, 0x0414,0x3672, or one 32-bit number sent low word first, "
    "0x36720414 (hexadecimal, with 0x)";

// The values the gauges take as ManufacturerAccess commands (among them
// shutdown, reset, ROM mode, fuse and key commands): never a key word.
bool IsCommandValue(unsigned word) { return word <= 0x01FF || word == 0x0F00; }

// A hexadecimal number with 0x and at most `digits` digits, blanks around it allowed.
std::optional<std::uint32_t> Hexadecimal(std::string text, std::size_t digits) {
  const std::size_t first = text.find_first_not_of(' ');
  const std::size_t last = text.find_last_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  text = text.substr(first, last - first + 1);
  if (text.size() < 3 || text.size() > 2 + digits || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

KeyParse ParseKey(const std::string& text) {
  Key key;
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) {
    // A number of one word is a key with a word missing, not a high word of 0.
    const std::optional<std::uint32_t> number = Hexadecimal(text, 8);
    if (!number || *number <= 0xFFFF) return {std::nullopt, kKeyForms};
    key = {static_cast<std::uint16_t>(*number & 0xFFFF), static_cast<std::uint16_t>(*number >> 16)};
  } else {
    const std::optional<std::uint32_t> first = Hexadecimal(text.substr(0, comma), 4);
    const std::optional<std::uint32_t> second = Hexadecimal(text.substr(comma + 1), 4);
    if (!first || !second) return {std::nullopt, kKeyForms};
    key = {static_cast<std::uint16_t>(*first), static_cast<std::uint16_t>(*second)};
  }
  for (const unsigned word : {key.first, key.second}) {
    if (IsCommandValue(word)) {
      char problem[160];
      std::snprintf(problem, sizeof problem,
                    "KEY word 0x%04X is a ManufacturerAccess command value (0x0000 to 0x01FF, 0x0F00), never sent "
                    "as a key",
                    word);
      return {std::nullopt, problem};
    }
  }
  return {key, ""};
}

std::string GaugeWrite::TraceText() const {
  char text[24];
  if (kind_ != Kind::DataFlashRequest) {
    std::snprintf(text, sizeof text, "ww %02x %04x", kManufacturerAccess, value_);
  } else {
    std::snprintf(text, sizeof text, "wb %02x %02x %02x", kManufacturerBlock, value_ & 0xFF, value_ >> 8);
  }
  return text;
}

int GaugeWrite::Send(core::Program& p) const {
  if (kind_ == Kind::ManufacturerAccessWord) return p.bus.SMBWriteWord(BatteryAddress, kManufacturerAccess, value_);
  // The only write that the bus lets past its refusal of gauge commands.
  if (kind_ == Kind::SealCommand) return p.bus.SMBWriteSealCommand(BatteryAddress, value_);
  // The address, low byte first, and nothing after it.
  const std::uint8_t request[2] = {static_cast<std::uint8_t>(value_ & 0xFF), static_cast<std::uint8_t>(value_ >> 8)};
  return p.bus.SMBWriteBlock(BatteryAddress, kManufacturerBlock, request, sizeof request);
}

std::vector<GaugeWrite> PlannedWrites(Action action, Family family, const Key& key) {
  const FamilyInfo& info = InfoOf(family);
  if (!info.security_commands) return {};
  constexpr GaugeWrite::Kind kWord = GaugeWrite::Kind::ManufacturerAccessWord;
  switch (action) {
    case Action::Unseal:
    case Action::FullAccess:
      if (IsCommandValue(key.first) || IsCommandValue(key.second)) return {};
      return {GaugeWrite(kWord, key.first), GaugeWrite(kWord, key.second)};
    case Action::Seal:
      return {GaugeWrite(GaugeWrite::Kind::SealCommand, info.seal_command)};
    case Action::Dump: {
      std::vector<GaugeWrite> rows;
      if (family != Family::bq40z) return rows;
      for (int row = 0; row < kDataFlashRows; ++row) {
        rows.push_back(GaugeWrite(GaugeWrite::Kind::DataFlashRequest,
                                  static_cast<std::uint16_t>(kDataFlashFirst + row * kDataFlashRowBytes)));
      }
      return rows;
    }
  }
  return {};
}

}  // namespace cli
