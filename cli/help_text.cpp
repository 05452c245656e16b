#include "cli/help_text.h"

#include <algorithm>
#include <sstream>

namespace cli {

namespace {

// Where a line's text continues: after the gap of two blanks that follows an
// option or command name at the start, else at its first character.
std::size_t ContinuationColumn(const std::string& line) {
  const std::size_t start = line.find_first_not_of(' ');
  if (start == std::string::npos) return 0;
  const std::size_t gap = line.find("  ", start);
  if (gap != std::string::npos && gap < kHelpWidth / 2) {
    const std::size_t text = line.find_first_not_of(' ', gap);
    if (text != std::string::npos && text < kHelpWidth / 2) return text;
  }
  return start;
}

void WrapLine(const std::string& line, std::size_t width, std::string& out) {
  const std::size_t indent = ContinuationColumn(line);
  std::string rest = line;
  while (rest.size() > width) {
    std::size_t cut = rest.rfind(' ', width);
    if (cut == std::string::npos || cut <= indent) cut = rest.find(' ', width);  // a word longer than a line
    const std::size_t next = cut == std::string::npos ? std::string::npos : rest.find_first_not_of(' ', cut);
    if (next == std::string::npos) break;
    out += rest.substr(0, rest.find_last_not_of(' ', cut) + 1) + "\n";
    rest = std::string(indent, ' ') + rest.substr(next);
  }
  out += rest + "\n";
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::string WrapHelp(const std::string& text, std::size_t width) {
  std::string out;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) WrapLine(line, width, out);
  return out;
}

std::string Nearest(const std::string& typed, const std::vector<std::string>& candidates) {
  // Names are short and few: two edits make a typo, more a different word.
  constexpr std::size_t kMostEdits = 2;
  std::string best;
  std::size_t best_distance = kMostEdits + 1;
  for (const std::string& candidate : candidates) {
    const std::size_t distance = EditDistance(typed, candidate);
    if (distance < best_distance && distance < candidate.size()) {
      best = candidate;
      best_distance = distance;
    }
  }
  return best;
}

}  // namespace cli
