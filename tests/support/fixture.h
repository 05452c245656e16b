#pragma once
// What the report tests share: a program on a simulated battery whose output
// can be seen with the bus trace merged in (the label-before-read check),
// profile building, string helpers, and a family's register rows one at a time.

#include <memory>
#include <span>
#include <string>

#include <nlohmann/json.hpp>

#include "core/program.h"
#include "link/adapter.h"
#include "reports/register_lines.h"
#include "tests/support/harness.h"

namespace testing_support {

// The text of a built-in profile, with JSON-pointer edits applied
// (e.g. {{"/words/0x1B", 0}}).
std::string Profile(const std::string& name, const nlohmann::json& edits = nlohmann::json::object());

class Rig {
 public:
  // A built-in profile name or a profile's JSON text (starting with "{").
  explicit Rig(const std::string& profile);
  // Any adapter.
  explicit Rig(std::unique_ptr<smb::Adapter> adapter);

  core::Program& p() { return test_.p(); }
  std::string Output() { return test_.Output(); }
  std::string TraceText() { return test_.TraceText(); }
  // Output with every trace line put in, as "{line}", where it happened
  // between two console writes: where each read stands against the labels.
  std::string Merged();

 private:
  class RecordingConsole;
  void CatchUp();

  TestProgram test_;
  std::string merged_;
  std::size_t out_seen_ = 0;
  std::size_t trace_seen_ = 0;
};

// A text literal as a string, to start a concatenation: S(R) + "...".
inline std::string S(const char* text) { return text; }
bool Contains(const std::string& text, const std::string& part);
bool EndsWith(const std::string& text, const std::string& tail);
// Fails the test for each of `parts` that `text` does not contain, naming it.
void ExpectContainsEach(const std::string& text, std::initializer_list<std::string> parts);
// A separator: `width` dashes in `colour` and a line end.
std::string Sep(const char* colour, int width);

// The row of `reg` alone, out of a family's register table (all of them, and
// a failed test, when there is none).
std::span<const reports::RegisterLine> OnlyRow(std::span<const reports::RegisterLine> rows, int reg);

}  // namespace testing_support
