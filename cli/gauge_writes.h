#pragma once
// Every bus write that the security and backup commands make is built here,
// by PlannedWrites, and nowhere else: a key's two words or the family's seal
// command to ManufacturerAccess (0x00), and the data-flash address requests
// to the manufacturer block command (0x44), each exactly two bytes (a third
// byte would make the gauge write its flash). What the commands show before
// acting is the text of these same writes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/gauge_family.h"
#include "core/program.h"

namespace cli {

// A key's two words in the order they are written.
struct Key {
  std::uint16_t first = 0;
  std::uint16_t second = 0;
};

struct KeyParse {
  std::optional<Key> key;
  std::string problem;  // why there is none
};

// "0x0414,0x3672" (two words, in the order they are sent) or "0x36720414"
// (one 32-bit number, sent as its low word and then its high word). Words
// that are ManufacturerAccess command values are refused: a gauge would act
// on such a word as a command.
KeyParse ParseKey(const std::string& text);

enum class Action { Unseal, FullAccess, Seal, Dump };

// The data flash of a bq40z: 256 rows of 32 bytes from 0x4000.
inline constexpr int kDataFlashFirst = 0x4000;
inline constexpr int kDataFlashRowBytes = 32;
inline constexpr int kDataFlashRows = 256;

class GaugeWrite {
 public:
  // As the bus trace writes it: "ww 00 0414", "wb 44 20 40".
  std::string TraceText() const;
  // Sends it; the adapter's result.
  int Send(core::Program& p) const;
  // The data-flash address of a request to 0x44.
  int address() const { return value_; }

 private:
  friend std::vector<GaugeWrite> PlannedWrites(Action action, Family family, const Key& key);
  enum class Kind { ManufacturerAccessWord, SealCommand, DataFlashRequest };
  GaugeWrite(Kind kind, std::uint16_t value) : kind_(kind), value_(value) {}

  Kind kind_;
  std::uint16_t value_;
};

// The writes of `action` in the order they are sent (`key` counts only for
// Unseal and FullAccess): none for a family whose procedure is not known, for
// a dump of anything but a bq40z, or for a key that ParseKey would refuse.
std::vector<GaugeWrite> PlannedWrites(Action action, Family family, const Key& key);

}  // namespace cli
