#pragma once
// Smart Battery values in the units the command line shows them in, and the
// record of named values that read and monitor build: each key has a value,
// or null and (when a read failed) the adapter's result code under "errors".

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace cli {

using Json = nlohmann::ordered_json;

// How the Smart Battery words scale, from BatteryMode and SpecificationInfo.
struct Scales {
  int battery_mode = 0;      // the word or its error code
  bool milliwatts = false;   // CAPACITY_MODE: capacities count 10 mWh, AtRate 10 mW
  long long voltage = 1;     // 10^VScale
  long long current = 1;     // 10^IPScale, for currents, capacities and AtRate
};
// An unread SpecificationInfo (a negative code) scales nothing.
Scales ScalesOf(int battery_mode, int specification_info);

class Record {
 public:
  void Set(const char* key, Json value) { values_[key] = std::move(value); }
  // Null, with the code of the read that failed.
  void Fail(const char* key, int code);
  // Under "errors" only: why the row holds no data (the gauge's mode).
  void Refuse(const char* key, const char* reason) { errors_[key] = reason; }
  // A word in the given unit: null when the read failed.
  void Word(const char* key, int result, Json (*convert)(int word, const Scales&), const Scales& scales);
  // A capacity or AtRate: also null when BatteryMode, which says its unit, failed.
  void CapacityWord(const char* key, int result, Json (*convert)(int word, const Scales&), const Scales& scales);

  const Json& values() const { return values_; }
  const Json& errors() const { return errors_; }
  // The values with "errors" last.
  Json Document() const;

 private:
  Json values_ = Json::object();
  Json errors_ = Json::object();
};

// Conversions of one word, as Record::Word takes them.
Json Capacity(int word, const Scales& scales);
Json AtRate(int word, const Scales& scales);
Json MilliVolts(int word, const Scales& scales);
Json MilliAmps(int word, const Scales& scales);
Json SignedMilliAmps(int word, const Scales& scales);
Json Minutes(int word, const Scales&);  // 65535: not available (null)
Json Number(int word, const Scales&);
Json Celsius(int word, const Scales&);  // two decimals, as the reports print it
Json Truth(int word, const Scales&);
Json Hex(int word, const Scales&);      // "0x00C0"
Json Date(int word, const Scales&);     // "YYYY-MM-DD"; null for a month or day that cannot be

const char* CapacityUnit(const Scales& scales);  // "mAh" or "mWh"

// Battery text for a JSON string: each byte is the character of that number,
// so bytes above 0x7F come out as \u00XX and nothing can break the document.
std::string JsonText(const std::string& bytes);

}  // namespace cli
