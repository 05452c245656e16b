#include "link/sim/json_document.h"

#include <set>
#include <vector>

#include "link/sim/profile.h"
#include "platform/common/printable.h"

namespace smb::sim {

namespace {

using nlohmann::json;

// A profile needs four levels: the profile, a table, a sequence, a block object.
constexpr std::size_t kMaxNesting = 32;

std::string JsonPlace(const std::string& text, std::size_t byte) {
  std::size_t line = 1;
  std::size_t column = 1;
  for (std::size_t i = 0; i + 1 < byte && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// nlohmann's messages read "[json.exception.parse_error.101] parse error at
// line 1, column 2: syntax error while parsing value - invalid literal; last
// read: '<token>'; expected ..." or "number overflow parsing '<token>'". The
// place is given by the caller; the token may be megabytes long and hold any
// byte, quotes included.
std::string JsonReason(const std::string& what) {
  std::string reason = what.substr(what.find("] ") == std::string::npos ? 0 : what.find("] ") + 2);
  if (reason.rfind("parse error", 0) == 0 && reason.find(": ") != std::string::npos) {
    reason = reason.substr(reason.find(": ") + 2);
  }
  const std::size_t marker = reason.find("last read: '");
  const std::size_t start = marker != std::string::npos ? marker + 12 : reason.find('\'') + 1;
  const std::size_t expected = reason.rfind("'; expected ");
  const std::size_t end = expected != std::string::npos && expected >= start ? expected : reason.rfind('\'');
  if (start == 0 || end == std::string::npos || end < start) return platform::Printable(reason, 200);
  return platform::Printable(reason.substr(0, start), 150) + platform::Printable(reason.substr(start, end - start)) +
         platform::Printable(reason.substr(end), 60);
}

class DocumentReader : public nlohmann::json_sax<json> {
 public:
  DocumentReader(const std::string& text, const std::string& source) : text_(text), source_(source) {}

  bool null() override { return Value(nullptr); }
  bool boolean(bool value) override { return Value(value); }
  bool number_integer(number_integer_t value) override { return Value(value); }
  bool number_unsigned(number_unsigned_t value) override { return Value(value); }
  bool number_float(number_float_t value, const string_t&) override { return Value(value); }
  bool string(string_t& value) override { return Value(std::move(value)); }
  bool binary(binary_t&) override { return false; }  // JSON text has none
  bool start_object(std::size_t) override { return Open(json::object()); }
  bool start_array(std::size_t) override { return Open(json::array()); }
  bool end_object() override { return Close(); }
  bool end_array() override { return Close(); }

  bool key(string_t& key) override {
    if (!open_.back().keys.insert(key).second) {
      const std::string path = Path();
      return Fail((path.empty() ? "" : path + ".") + platform::Printable(key) + ": the same key is given twice");
    }
    key_ = std::move(key);
    return true;
  }

  bool parse_error(std::size_t position, const std::string&, const json::exception& error) override {
    return Fail(JsonPlace(text_, position) + ": " + JsonReason(error.what()));
  }

  json Take() {
    if (!error_.empty()) throw ProfileError("profile " + source_ + ": " + error_);
    return std::move(root_);
  }

 private:
  struct Container {
    json* value;
    std::string name;            // where it stands: ".key" or "[index]", as a message shows it
    std::set<std::string> keys;  // of an object, so far
  };

  json* Place(json&& value) {
    if (open_.empty()) {
      root_ = std::move(value);
      return &root_;
    }
    json& parent = *open_.back().value;
    if (parent.is_array()) {
      parent.push_back(std::move(value));
      return &parent.back();
    }
    json& member = parent[key_];
    member = std::move(value);
    return &member;
  }

  bool Value(json value) {
    Place(std::move(value));
    return true;
  }

  bool Open(json container) {
    if (open_.size() >= kMaxNesting) {
      return Fail("the JSON value is nested more than " + std::to_string(kMaxNesting) + " levels deep");
    }
    std::string name;
    if (!open_.empty()) {
      const json& parent = *open_.back().value;
      name = parent.is_array() ? "[" + std::to_string(parent.size()) + "]" : "." + platform::Printable(key_);
    }
    json* value = Place(std::move(container));
    open_.push_back(Container{value, std::move(name), {}});
    return true;
  }

  bool Close() {
    open_.pop_back();
    return true;
  }

  // The place of the innermost open value, as the profile's messages name it:
  // its first 120 characters, however deep it lies.
  std::string Path() const {
    std::string path;
    for (const Container& container : open_) path += container.name;
    if (!path.empty() && path[0] == '.') path.erase(0, 1);
    return path.size() <= 120 ? path : path.substr(0, 120) + "...";
  }

  bool Fail(const std::string& message) {
    if (error_.empty()) error_ = message;
    return false;
  }

  const std::string& text_;
  std::string source_;
  json root_;
  std::vector<Container> open_;
  std::string key_;
  std::string error_;
};

}  // namespace

json ReadJsonDocument(const std::string& text, const std::string& source) {
  // nlohmann takes a NUL byte for the end of the text: whatever follows would go unseen.
  if (const std::size_t nul = text.find('\0'); nul != std::string::npos) {
    throw ProfileError("profile " + source + ": " + JsonPlace(text, nul + 1) + ": a NUL byte, which JSON text cannot hold");
  }
  DocumentReader reader(text, source);
  json::sax_parse(text.begin(), text.end(), &reader);
  return reader.Take();
}

}  // namespace smb::sim
