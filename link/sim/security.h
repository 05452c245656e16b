#pragma once
// A simulated gauge's security: the state it is in, the keys that move it,
// the seal command, and the OperationStatus bits and data-flash refusal that
// show the state to the host.

#include <cstdint>
#include <optional>
#include <vector>

namespace smb::sim {

// The family whose seal command and OperationStatus bits the gauge has.
enum class SecurityFamily { Bq20z, Bq40z };

enum class SecurityState { Sealed, Unsealed, FullAccess };

// A key's two words in the order they are written to ManufacturerAccess.
struct SecurityKey {
  int first = 0;
  int second = 0;
};

// A profile's "security" member.
struct SecurityModel {
  SecurityFamily family = SecurityFamily::Bq40z;
  SecurityState state = SecurityState::Sealed;
  SecurityKey unseal_key;
  SecurityKey full_access_key;
};

// The gauge's side of security access, fed with the bus traffic in order.
// Without a model nothing changes any answer.
class GaugeSecurity {
 public:
  explicit GaugeSecurity(const std::optional<SecurityModel>& model)
      : model_(model), state_(model ? model->state : SecurityState::Sealed) {}

  // A key counts as two word writes to ManufacturerAccess with no other write
  // between them: the unseal key unseals a sealed gauge, the full-access key
  // gives an unsealed one full access. The seal command seals in any state.
  void WordWritten(int command, int value);
  // A block write comes between two key words as any other write does.
  void BlockWritten() { first_word_.reset(); }

  // A ManufacturerAccess word answer to `subcommand`, with a bq20z's state bits.
  int ManufacturerAccessAnswer(int subcommand, int answer) const;
  // The data bytes (without an echo) of a manufacturer data answer to
  // `subcommand`, given a bq40z's state bits.
  void MarkManufacturerData(int subcommand, std::vector<std::uint8_t>& data) const;
  // Whether the gauge does not answer a manufacturer data read of `subcommand`.
  bool RefusesManufacturerData(int subcommand) const;

 private:
  bool IsFamily(SecurityFamily family) const { return model_ && model_->family == family; }
  int WithStateBits(int operation_status) const;

  std::optional<SecurityModel> model_;
  SecurityState state_;
  // The last word written to ManufacturerAccess, while nothing else has been
  // written since: the first word of a key, perhaps.
  std::optional<int> first_word_;
};

}  // namespace smb::sim
