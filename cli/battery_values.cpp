#include "cli/battery_values.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "reports/battery_values.h"

namespace cli {

namespace {

// An exponent above 3 has no meaning in SpecificationInfo: values stay unscaled.
long long PowerOfTen(int exponent) {
  long long factor = 1;
  for (int i = 0; i < (exponent > 3 ? 0 : exponent); ++i) factor *= 10;
  return factor;
}

int Signed16(int word) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(word)); }

constexpr int kNotAvailable = 65535;

}  // namespace

Scales ScalesOf(int battery_mode, int specification_info) {
  Scales scales;
  scales.battery_mode = battery_mode;
  scales.milliwatts = battery_mode >= 0 && (battery_mode & 0x8000) != 0;
  if (specification_info >= 0) {
    scales.voltage = PowerOfTen((specification_info >> 8) & 0x0F);
    scales.current = PowerOfTen((specification_info >> 12) & 0x0F);
  }
  return scales;
}

void Record::Fail(const char* key, int code) {
  values_[key] = nullptr;
  errors_[key] = code;
}

void Record::Word(const char* key, int result, Json (*convert)(int, const Scales&), const Scales& scales) {
  if (result < 0) {
    Fail(key, result);
  } else {
    Set(key, convert(result, scales));
  }
}

void Record::CapacityWord(const char* key, int result, Json (*convert)(int, const Scales&), const Scales& scales) {
  if (result >= 0 && scales.battery_mode < 0) {
    Fail(key, scales.battery_mode);
  } else {
    Word(key, result, convert, scales);
  }
}

Json Record::Document() const {
  Json document = values_;
  document["errors"] = errors_;
  return document;
}

Json Capacity(int word, const Scales& scales) { return word * (scales.milliwatts ? 10LL : 1LL) * scales.current; }

Json AtRate(int word, const Scales& scales) {
  return Signed16(word) * (scales.milliwatts ? 10LL : 1LL) * scales.current;
}

Json MilliVolts(int word, const Scales& scales) { return word * scales.voltage; }

Json MilliAmps(int word, const Scales& scales) { return word * scales.current; }

Json SignedMilliAmps(int word, const Scales& scales) { return Signed16(word) * scales.current; }

Json Minutes(int word, const Scales&) { return word == kNotAvailable ? Json(nullptr) : Json(word); }

Json Number(int word, const Scales&) { return word; }

Json Celsius(int word, const Scales&) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(reports::Celsius(word)));
  return std::strtod(text, nullptr);
}

Json Truth(int word, const Scales&) { return word != 0; }

Json Hex(int word, const Scales&) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(word & 0xFFFF));
  return text;
}

Json Date(int word, const Scales&) {
  const int day = word & 0x1F;
  const int month = (word >> 5) & 0x0F;
  if (day == 0 || month == 0 || month > 12) return nullptr;
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", (word >> 9) + 1980, month, day);
  return text;
}

const char* CapacityUnit(const Scales& scales) { return scales.milliwatts ? "mWh" : "mAh"; }

std::string JsonText(const std::string& bytes) {
  std::string utf8;
  for (const unsigned char byte : bytes) {
    if (byte < 0x80) {
      utf8 += static_cast<char>(byte);
    } else {
      utf8 += static_cast<char>(0xC0 | (byte >> 6));
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

}  // namespace cli
