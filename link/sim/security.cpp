#include "link/sim/security.h"

#include <utility>

namespace smb::sim {

namespace {

constexpr int kManufacturerAccess = 0x00;
constexpr int kOperationStatus = 0x0054;
constexpr int kDataFlashFirst = 0x4000;
constexpr int kDataFlashLast = 0x5FFF;

struct FamilyRules {
  int seal_command;
  // The state bits in the low word of OperationStatus, and their values by
  // state (sealed, unsealed, full access).
  int state_mask;
  int state_bits[3];
};

// bq20z: FAS bit 14, SS bit 13.
constexpr FamilyRules kBq20z{0x0020, 0x6000, {0x6000, 0x4000, 0x0000}};
// bq40z: SEC1 bit 9, SEC0 bit 8.
constexpr FamilyRules kBq40z{0x0030, 0x0300, {0x0300, 0x0200, 0x0100}};

const FamilyRules& Rules(SecurityFamily family) { return family == SecurityFamily::Bq20z ? kBq20z : kBq40z; }

bool IsKey(const SecurityKey& key, int first, int second) { return key.first == first && key.second == second; }

}  // namespace

void GaugeSecurity::WordWritten(int command, int value) {
  if (!model_) return;
  const std::optional<int> first = std::exchange(first_word_, std::nullopt);
  if (command != kManufacturerAccess) return;
  if (value == Rules(model_->family).seal_command) {
    state_ = SecurityState::Sealed;
  } else if (first && state_ == SecurityState::Sealed && IsKey(model_->unseal_key, *first, value)) {
    state_ = SecurityState::Unsealed;
  } else if (first && state_ == SecurityState::Unsealed && IsKey(model_->full_access_key, *first, value)) {
    state_ = SecurityState::FullAccess;
  } else {
    first_word_ = value;
  }
}

int GaugeSecurity::WithStateBits(int operation_status) const {
  const FamilyRules& rules = Rules(model_->family);
  return (operation_status & ~rules.state_mask) | rules.state_bits[static_cast<int>(state_)];
}

int GaugeSecurity::ManufacturerAccessAnswer(int subcommand, int answer) const {
  if (!IsFamily(SecurityFamily::Bq20z) || subcommand != kOperationStatus || answer < 0) return answer;
  return WithStateBits(answer);
}

void GaugeSecurity::MarkManufacturerData(int subcommand, std::vector<std::uint8_t>& data) const {
  if (!IsFamily(SecurityFamily::Bq40z) || subcommand != kOperationStatus || data.size() < 2) return;
  // Least significant byte first.
  const int low_word = WithStateBits(data[0] + 256 * data[1]);
  data[1] = static_cast<std::uint8_t>(low_word >> 8);
}

bool GaugeSecurity::RefusesManufacturerData(int subcommand) const {
  return IsFamily(SecurityFamily::Bq40z) && state_ == SecurityState::Sealed && subcommand >= kDataFlashFirst &&
         subcommand <= kDataFlashLast;
}

}  // namespace smb::sim
