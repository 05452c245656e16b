#include "cli/gauge_family.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <vector>

#include "reports/bq20z/bq20z.h"
#include "reports/bq20z/protocol.h"
#include "reports/bq30z/bq30z.h"
#include "reports/bq30z/protocol.h"
#include "reports/bq40z/bq40z.h"
#include "reports/bq40z/protocol.h"
#include "reports/bq9000/bq9000.h"
#include "reports/bq9000/protocol.h"

namespace cli {

using core::BatteryAddress;
using core::Program;

namespace {

const FamilyInfo kFamilies[] = {
    {Family::bq20z, "bq20z", '1', reports::bq20z},
    {Family::bq30z, "bq30z", '2', reports::bq30z},
    {Family::bq40z, "bq40z", '3', reports::bq40z},
    {Family::bq9000, "bq9000", '4', reports::bq9000},
};

// Words in a Device Name that name a family: the menu's names of the gauges.
struct NameWord {
  const char* word;
  Family family;
};
const NameWord kNameWords[] = {
    {"bq20z", Family::bq20z},  {"bq30z", Family::bq30z},  {"bq40z", Family::bq40z},
    {"bq9000", Family::bq9000}, {"bq8050", Family::bq9000}, {"bq8055", Family::bq9000},
    {"bq8030", Family::bq9000}, {"m37512", Family::bq9000},
};

constexpr int kDeviceType = 0x0001;
constexpr int kFirmwareVersion = 0x0002;

// What one access path gave: whether the gauge answered on it as the
// family's gauges do, and the device type when it was read.
struct PathAnswer {
  bool fits = false;
  std::optional<int> device_type;
};

int LittleEndianWord(const std::uint8_t* bytes) { return bytes[0] + 256 * bytes[1]; }

// bq40z: the manufacturer block command echoes the request before its data.
PathAnswer ManufacturerBlock(Program& p) {
  reports::bq40z_family::ReportBuffer receive = {};
  reports::bq40z_family::ManufacturerBlockRead(p, receive, kDeviceType);
  PathAnswer answer;
  answer.fits = p.status >= 2 && receive[0] == (kDeviceType & 0xFF) && receive[1] == (kDeviceType >> 8);
  if (answer.fits && p.status >= 4) answer.device_type = LittleEndianWord(p.buf);
  return answer;
}

// bq30z: a register selected through ManufacturerAccess, read from
// ManufacturerData. A battery whose block 0x23 does not depend on the
// selection does not fit.
PathAnswer ManufacturerData(Program& p, bool probe) {
  reports::bq30z_family::ManufacturerData(p, kDeviceType);
  if (p.status < 2) return {};
  PathAnswer answer{true, LittleEndianWord(p.buf)};
  if (!probe) return answer;
  const std::vector<std::uint8_t> device_type(p.buf, p.buf + std::min<int>(p.status, sizeof p.buf));
  reports::bq30z_family::ManufacturerData(p, kFirmwareVersion);
  const std::vector<std::uint8_t> firmware(p.buf, p.buf + std::min<int>(std::max(p.status, 0), sizeof p.buf));
  answer.fits = p.status >= 0 && firmware != device_type;
  return answer;
}

// bq20z: the register's word read back from ManufacturerAccess itself. A
// battery that answers the same word whatever was selected, or echoes the
// selection, does not fit.
PathAnswer ManufacturerAccess(Program& p, bool probe) {
  using reports::bq20z_family::PauseBeforeRead;
  const int device_type = reports::bq20z_family::ManufacturerAccessRead(p, kDeviceType, PauseBeforeRead::OneMillisecond);
  if (device_type < 0) return {};
  PathAnswer answer{true, device_type};
  if (!probe) return answer;
  const int firmware = reports::bq20z_family::ManufacturerAccessRead(p, kFirmwareVersion, PauseBeforeRead::OneMillisecond);
  const bool echo = device_type == kDeviceType && firmware == kFirmwareVersion;
  answer.fits = firmware >= 0 && firmware != device_type && !echo;
  return answer;
}

// bq9000 family: its mode register 0x72, or a boot ROM's word in 0x0D.
bool ModeRegister(Program& p) {
  return reports::bq9000_family::ModeWordsIdentifyFamily(reports::bq9000_family::ReadModeWords(p));
}

PathAnswer ReadPath(Program& p, Family family, bool probe) {
  switch (family) {
    case Family::bq40z: return ManufacturerBlock(p);
    case Family::bq30z: return ManufacturerData(p, probe);
    case Family::bq20z: return ManufacturerAccess(p, probe);
    case Family::bq9000: return {ModeRegister(p), std::nullopt};
  }
  return {};
}

const char* PathOf(Family family) {
  switch (family) {
    case Family::bq40z: return "manufacturer block command 0x44";
    case Family::bq30z: return "ManufacturerAccess 0x00 and ManufacturerData 0x23";
    case Family::bq20z: return "ManufacturerAccess 0x00";
    case Family::bq9000: return "mode register 0x72";
  }
  return "";
}

}  // namespace

const FamilyInfo& InfoOf(Family family) {
  for (const FamilyInfo& info : kFamilies) {
    if (info.family == family) return info;
  }
  return kFamilies[0];
}

const FamilyInfo* FamilyNamed(const std::string& name) {
  for (const FamilyInfo& info : kFamilies) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

std::optional<Family> FamilyInName(const std::string& device_name) {
  std::string lower = device_name;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  for (const NameWord& entry : kNameWords) {
    if (lower.find(entry.word) != std::string::npos) return entry.family;
  }
  return std::nullopt;
}

Identification IdentifyGauge(Program& p, const std::string& device_name) {
  Identification found;
  if (const std::optional<Family> named = FamilyInName(device_name)) {
    found.family = named;
    found.evidence = "device name";
    if (*named != Family::bq9000) {
      found.device_type = ReadPath(p, *named, false).device_type;
      found.device_type_path = PathOf(*named);
    }
    return found;
  }
  // The most particular path first: a bq40z also answers the bq30z's and
  // the bq20z's exchanges, and a bq9000's ManufacturerAccess is a state word.
  for (const Family family : {Family::bq40z, Family::bq9000, Family::bq30z, Family::bq20z}) {
    const PathAnswer answer = ReadPath(p, family, true);
    if (!answer.fits) continue;
    found.family = family;
    found.evidence = PathOf(family);
    found.device_type = answer.device_type;
    if (answer.device_type) found.device_type_path = PathOf(family);
    return found;
  }
  return found;
}

}  // namespace cli
