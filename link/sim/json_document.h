#pragma once
// A profile's JSON text as a document, held to stricter rules than JSON's
// own: a key given twice in one object is an error (JSON keeps the last one
// silently), nesting stops far short of what could exhaust the stack, and
// every error message is one short printable line with the line and column.

#include <string>

#include <nlohmann/json.hpp>

namespace smb::sim {

// The document; throws ProfileError. `source` names the text in messages
// (already shown printable).
nlohmann::json ReadJsonDocument(const std::string& text, const std::string& source);

}  // namespace smb::sim
