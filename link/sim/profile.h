#pragma once
// A battery profile: what the simulated battery answers to each read.

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "link/adapter.h"
#include "link/sim/security.h"

namespace smb::sim {

// One answer: a word (0 to 65535) or an error code in `code`; for a block, the
// bytes sent when `code` is not negative.
struct Answer {
  int code = 0;
  std::vector<std::uint8_t> bytes;
};

// Successive reads of one entry take its answers in order; the last one
// stays once they are used up.
class AnswerSequence {
 public:
  AnswerSequence() = default;
  explicit AnswerSequence(std::vector<Answer> answers) : answers_(std::move(answers)) {}
  const Answer& Next();

 private:
  std::vector<Answer> answers_;
  std::size_t next_ = 0;
};

using AnswerTable = std::map<int, AnswerSequence>;

struct Profile {
  std::string description;
  AnswerSequence open{{Answer{197121, {}}}};          // firmware 1.2.3
  AnswerSequence interface_id{{Answer{kAdapterInterfaceId, {}}}};
  int missing = kNotAcknowledged;
  AnswerTable words;
  AnswerTable blocks;
  AnswerTable manufacturer_access;
  AnswerTable manufacturer_data;
  AnswerTable data_flash;
  AnswerTable subclass;
  std::optional<SecurityModel> security;  // none: no security to model
};

// The one-line description of what is wrong with a profile.
class ProfileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `name` names the profile in error messages.
Profile ParseProfile(const std::string& json_text, const std::string& name);

// A built-in profile by name, or a profile file by path (a value with a "/"
// or ending in ".json").
Profile LoadProfile(const std::string& name_or_path);

}  // namespace smb::sim
