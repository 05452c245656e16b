#include "cli/seal_state.h"

#include <cstdint>

#include "reports/bq20z/protocol.h"
#include "reports/bq30z/protocol.h"
#include "reports/bq40z/protocol.h"

namespace cli {

using core::Program;

namespace {

constexpr int kOperationStatus = 0x0054;

// Bits 9 and 8 (SEC1, SEC0) of a bq30z's or bq40z's Operation Status.
std::optional<Seal> FromSecurityBits(int bits) {
  switch (bits & 0x03) {
    case 3: return Seal::Sealed;
    case 2: return Seal::Unsealed;
    case 1: return Seal::FullAccess;
    default: return std::nullopt;  // reserved
  }
}

// Bits 14 and 13 (FAS, SS) of a bq20z's Operation Status.
std::optional<Seal> FromFasSs(int word) {
  switch (word & 0x6000) {
    case 0x6000: return Seal::Sealed;
    case 0x4000: return Seal::Unsealed;
    case 0x0000: return Seal::FullAccess;
    default: return std::nullopt;  // reserved
  }
}

// A reply too short to hold the byte is no reading, though no error either.
SealReading FromReply(Program& p, int needed, int byte) {
  if (p.status < 0) return {std::nullopt, p.status};
  if (p.status < needed) return {};
  return {FromSecurityBits(byte), 0};
}

}  // namespace

SealReading ReadSealState(Program& p, Family family) {
  switch (family) {
    case Family::bq40z: {
      std::uint8_t receive[20] = {};
      reports::bq40z_family::ManufacturerBlockRead(p, receive, kOperationStatus);
      return FromReply(p, 4, p.buf[1]);  // two echoed request bytes before the data
    }
    case Family::bq30z:
      reports::bq30z_family::ManufacturerData(p, kOperationStatus);
      return FromReply(p, 2, p.buf[1]);
    case Family::bq20z: {
      const int word =
          reports::bq20z_family::ManufacturerAccessRead(p, kOperationStatus, reports::bq20z_family::PauseBeforeRead::OneMillisecond);
      if (word < 0) return {std::nullopt, word};
      return {FromFasSs(word), 0};
    }
    case Family::bq9000: break;
  }
  return {};
}

const char* SealName(Seal state) {
  switch (state) {
    case Seal::Sealed: return "sealed";
    case Seal::Unsealed: return "unsealed";
    case Seal::FullAccess: return "full-access";
  }
  return "";
}

}  // namespace cli
