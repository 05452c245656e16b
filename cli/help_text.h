#pragma once
// The command line's own words around CLI11: help wrapped to the terminal's
// customary width, and the nearest name to a mistyped one.

#include <string>
#include <vector>

namespace cli {

inline constexpr std::size_t kHelpWidth = 80;

// Every line longer than `width` broken at blanks; a continuation starts under
// the description column of its line (an option's or command's text), or
// under the line's own indentation.
std::string WrapHelp(const std::string& text, std::size_t width = kHelpWidth);

// The candidate nearest to `typed` within a small edit distance, or "".
std::string Nearest(const std::string& typed, const std::vector<std::string>& candidates);

}  // namespace cli
