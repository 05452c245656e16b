#include "platform/common/printable.h"

namespace platform {

std::string Printable(std::string_view text, std::size_t limit) {
  std::string shown;
  for (std::size_t i = 0; i < text.size() && i < limit; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\\') {
      shown += "\\\\";
    } else if (byte >= 0x20 && byte <= 0x7E) {
      shown += static_cast<char>(byte);
    } else {
      shown += "\\x";
      shown += "0123456789ABCDEF"[byte >> 4];
      shown += "0123456789ABCDEF"[byte & 0xF];
    }
  }
  if (text.size() > limit) shown += "...";
  return shown;
}

}  // namespace platform
