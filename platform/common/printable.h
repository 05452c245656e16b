#pragma once
// Text from outside (a file, a path, an environment variable) as an error
// message shows it.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Every byte outside printable ASCII as \xHH (a backslash as \\), so that
// nothing reaches the terminal as a control sequence; what would show more
// than `limit` characters is cut there and followed by "...".
std::string Printable(std::string_view text, std::size_t limit = 60);

}  // namespace platform
