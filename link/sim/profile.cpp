#include "link/sim/profile.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <map>
#include <sstream>

#include <nlohmann/json.hpp>

#include "link/sim/builtin_profiles.h"
#include "link/sim/json_document.h"
#include "platform/common/printable.h"
#include "platform/files.h"

namespace smb::sim {

namespace {

using nlohmann::json;

constexpr std::size_t kMaxBlockBytes = 255;
constexpr std::size_t kMaxFileMib = 16;  // a profile of every table in full is far smaller

// A value as an error message quotes it.
std::string Shown(const json& value) { return platform::Printable(value.dump()); }
std::string Shown(const std::string& text) { return platform::Printable(text); }

const Answer& LastOrNone(const std::vector<Answer>& answers, std::size_t index) {
  static const Answer none{};
  if (answers.empty()) return none;
  return answers[std::min(index, answers.size() - 1)];
}

class Parser {
 public:
  explicit Parser(const std::string& source) : source_(source) {}

  [[noreturn]] void Fail(const std::string& where, const std::string& what) const {
    throw ProfileError("profile " + source_ + ": " + where + ": " + what);
  }

  long long Integer(const json& value, const std::string& where, long long low, long long high) const {
    if (!value.is_number_integer()) Fail(where, "expected an integer, got " + Shown(value));
    const long long number = value.is_number_unsigned()
                                 ? static_cast<long long>(std::min<std::uint64_t>(
                                       value.get<std::uint64_t>(), std::numeric_limits<long long>::max()))
                                 : value.get<long long>();
    if (number < low || number > high) {
      Fail(where, Shown(value) + " is out of range " + std::to_string(low) + " to " + std::to_string(high));
    }
    return number;
  }

  // "0x" followed by hexadecimal digits, any case; `noun` says what it is.
  int HexNumber(const std::string& text, const std::string& where, int high, const char* noun) const {
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    bool digits = prefixed && text.size() <= 10;
    for (std::size_t i = 2; digits && i < text.size(); ++i) digits = std::isxdigit(static_cast<unsigned char>(text[i])) != 0;
    if (!digits) Fail(where, std::string(noun) + " \"" + Shown(text) + "\" is not a hexadecimal number with the prefix 0x");
    const long value = std::stol(text.substr(2), nullptr, 16);
    if (value > high) Fail(where, std::string(noun) + " \"" + Shown(text) + "\" is out of range 0x00 to 0x" + Hex(high));
    return static_cast<int>(value);
  }

  Answer Word(const json& value, const std::string& where) const {
    if (value.is_string()) {
      const std::string text = value.get<std::string>();
      return Answer{HexNumber(text, where, 0xFFFF, "value"), {}};
    }
    return Answer{static_cast<int>(Integer(value, where, std::numeric_limits<int>::min(), 0xFFFF)), {}};
  }

  Answer Block(const json& value, const std::string& where) const {
    if (value.is_number()) {
      return Answer{static_cast<int>(Integer(value, where, std::numeric_limits<int>::min(), -1)), {}};
    }
    Answer answer;
    if (value.is_string()) {
      answer.bytes = HexBytes(value.get<std::string>(), where);
    } else if (value.is_object()) {
      for (const auto& [key, member] : value.items()) {
        if (key != "text") Fail(where, "unknown key \"" + Shown(key) + "\" in a block answer");
        if (!member.is_string()) Fail(where + ".text", "expected a string");
        for (const unsigned char c : member.get<std::string>()) {
          if (c > 0x7F) Fail(where + ".text", "holds a character that is not ASCII");
          answer.bytes.push_back(c);
        }
      }
      if (!value.contains("text")) Fail(where, "a block object needs the key \"text\"");
    } else {
      Fail(where, "expected a block: a string of hexadecimal bytes, {\"text\": ...} or a negative error code");
    }
    if (answer.bytes.size() > kMaxBlockBytes) {
      Fail(where, "a block holds at most 255 bytes, this one " + std::to_string(answer.bytes.size()));
    }
    answer.code = static_cast<int>(answer.bytes.size());
    return answer;
  }

  using AnswerParser = Answer (Parser::*)(const json&, const std::string&) const;

  AnswerSequence Sequence(const json& value, const std::string& where, AnswerParser parse) const {
    std::vector<Answer> answers;
    if (value.is_array()) {
      if (value.empty()) Fail(where, "a sequence of answers must not be empty");
      for (std::size_t i = 0; i < value.size(); ++i) {
        const std::string item = where + "[" + std::to_string(i) + "]";
        if (value[i].is_array()) Fail(item, "a sequence cannot hold another sequence");
        answers.push_back((this->*parse)(value[i], item));
      }
    } else {
      answers.push_back((this->*parse)(value, where));
    }
    return AnswerSequence(std::move(answers));
  }

  AnswerTable Table(const json& value, const std::string& name, int key_high, AnswerParser parse) const {
    if (!value.is_object()) Fail(name, "expected an object");
    AnswerTable table;
    for (const auto& [key, member] : value.items()) {
      const std::string where = name + "." + Shown(key);
      const int number = HexNumber(key, where, key_high, "key");
      if (table.count(number) != 0) Fail(where, "the same key is given twice");
      table.emplace(number, Sequence(member, where, parse));
    }
    return table;
  }

  Answer AdapterResult(const json& value, const std::string& where) const {
    return Answer{static_cast<int>(Integer(value, where, std::numeric_limits<int>::min(),
                                           std::numeric_limits<int>::max())),
                  {}};
  }

 private:
  static std::string Hex(int value) {
    std::ostringstream out;
    out << std::uppercase << std::hex << value;
    return out.str();
  }

  // Without a string stream: a data flash of 256 rows made one the larger
  // part of the start-up.
  std::vector<std::uint8_t> HexBytes(const std::string& text, const std::string& where) const {
    std::vector<std::uint8_t> bytes;
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    for (auto at = text.begin(); at != text.end();) {
      if (blank(*at)) {
        ++at;
        continue;
      }
      const auto end = std::find_if(at, text.end(), blank);
      const std::string word(at, end);
      at = end;
      std::uint8_t byte = 0;
      if (word.size() != 2 || std::from_chars(word.data(), word.data() + 2, byte, 16).ptr != word.data() + 2) {
        Fail(where, "\"" + Shown(word) + "\" is not a byte of two hexadecimal digits");
      }
      bytes.push_back(byte);
    }
    return bytes;
  }

  std::string source_;
};

// {"family": "bq40z", "state": "sealed", "unseal_key": ["0x0414", "0x3672"],
//  "full_access_key": ["0xFFFF", "0xFFFF"]}
SecurityModel Security(const Parser& parser, const json& value) {
  if (!value.is_object()) parser.Fail("security", "expected an object");
  const auto choice = [&parser](const json& member, const std::string& where, const auto& choices, const char* names) {
    if (member.is_string()) {
      const auto found = choices.find(member.get<std::string>());
      if (found != choices.end()) return found->second;
    }
    parser.Fail(where, Shown(member) + " is not one of " + names);
  };
  const auto key = [&parser](const json& member, const std::string& where) {
    if (!member.is_array() || member.size() != 2) {
      parser.Fail(where, "expected the key's two words in the order they are written, as [\"0x0414\", \"0x3672\"]");
    }
    int words[2];
    for (std::size_t i = 0; i < 2; ++i) {
      const std::string item = where + "[" + std::to_string(i) + "]";
      words[i] = member[i].is_string() ? parser.HexNumber(member[i].get<std::string>(), item, 0xFFFF, "value")
                                       : static_cast<int>(parser.Integer(member[i], item, 0, 0xFFFF));
    }
    return SecurityKey{words[0], words[1]};
  };
  static const std::map<std::string, SecurityFamily> families{{"bq20z", SecurityFamily::Bq20z},
                                                              {"bq40z", SecurityFamily::Bq40z}};
  static const std::map<std::string, SecurityState> states{
      {"sealed", SecurityState::Sealed}, {"unsealed", SecurityState::Unsealed}, {"full-access", SecurityState::FullAccess}};
  SecurityModel model;
  for (const auto& [member, field] : value.items()) {
    const std::string where = "security." + Shown(member);
    if (member == "family") {
      model.family = choice(field, where, families, "bq20z, bq40z");
    } else if (member == "state") {
      model.state = choice(field, where, states, "sealed, unsealed, full-access");
    } else if (member == "unseal_key") {
      model.unseal_key = key(field, where);
    } else if (member == "full_access_key") {
      model.full_access_key = key(field, where);
    } else {
      parser.Fail(where, "unknown key (expected family, state, unseal_key or full_access_key)");
    }
  }
  for (const char* required : {"family", "state", "unseal_key", "full_access_key"}) {
    if (!value.contains(required)) parser.Fail("security", std::string("needs the key \"") + required + "\"");
  }
  return model;
}

}  // namespace

const Answer& AnswerSequence::Next() {
  const Answer& answer = LastOrNone(answers_, next_);
  if (next_ < answers_.size()) ++next_;
  return answer;
}

Profile ParseProfile(const std::string& json_text, const std::string& name) {
  const std::string source = platform::Printable(name, 200);
  const json document = ReadJsonDocument(json_text, source);
  const Parser parser(source);
  if (!document.is_object()) parser.Fail("top level", "a profile is a JSON object");

  Profile profile;
  for (const auto& [key, value] : document.items()) {
    if (key == "description") {
      if (!value.is_string()) parser.Fail(key, "expected a string");
      profile.description = value.get<std::string>();
    } else if (key == "adapter") {
      if (!value.is_object()) parser.Fail(key, "expected an object");
      for (const auto& [member, answers] : value.items()) {
        const std::string where = "adapter." + Shown(member);
        if (member == "open") {
          profile.open = parser.Sequence(answers, where, &Parser::AdapterResult);
        } else if (member == "interface_id") {
          profile.interface_id = parser.Sequence(answers, where, &Parser::AdapterResult);
        } else {
          parser.Fail(where, "unknown key (expected open or interface_id)");
        }
      }
    } else if (key == "missing") {
      profile.missing = static_cast<int>(parser.Integer(value, key, std::numeric_limits<int>::min(), -1));
    } else if (key == "words") {
      profile.words = parser.Table(value, key, 0xFF, &Parser::Word);
    } else if (key == "blocks") {
      profile.blocks = parser.Table(value, key, 0xFF, &Parser::Block);
    } else if (key == "manufacturer_access") {
      profile.manufacturer_access = parser.Table(value, key, 0xFFFF, &Parser::Word);
    } else if (key == "manufacturer_data") {
      profile.manufacturer_data = parser.Table(value, key, 0xFFFF, &Parser::Block);
    } else if (key == "data_flash") {
      profile.data_flash = parser.Table(value, key, 0xFFFF, &Parser::Block);
    } else if (key == "subclass") {
      profile.subclass = parser.Table(value, key, 0xFFFF, &Parser::Block);
    } else if (key == "security") {
      profile.security = Security(parser, value);
    } else {
      parser.Fail(Shown(key), "unknown key");
    }
  }
  return profile;
}

Profile LoadProfile(const std::string& name_or_path) {
  const bool is_path = name_or_path.find('/') != std::string::npos ||
                       (name_or_path.size() >= 5 && name_or_path.compare(name_or_path.size() - 5, 5, ".json") == 0);
  if (!is_path) {
    for (const BuiltinProfile& builtin : BuiltinProfiles()) {
      if (name_or_path == builtin.name) return ParseProfile(builtin.json, name_or_path);
    }
    std::string names;
    for (const BuiltinProfile& builtin : BuiltinProfiles()) names += std::string(names.empty() ? "" : ", ") + builtin.name;
    throw ProfileError("unknown built-in profile \"" + Shown(name_or_path) + "\" (built-in profiles: " + names + ")");
  }
  std::string text;
  std::string problem;
  if (!platform::ReadRegularFile(name_or_path, kMaxFileMib, text, problem)) {
    throw ProfileError("profile " + platform::Printable(name_or_path, 200) + ": cannot be read: " + problem);
  }
  return ParseProfile(text, name_or_path);
}

}  // namespace smb::sim
