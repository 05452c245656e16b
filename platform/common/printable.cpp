#include "platform/common/printable.h"

namespace platform {

std::string Printable(std::string_view text, std::size_t limit) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    std::string piece;
    if (byte == '\\') {
      piece = "\\\\";
    } else if (byte >= 0x20 && byte <= 0x7E) {
      piece = c;
    } else {
      piece = {'\\', 'x', "0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 0xF]};
    }
    if (shown.size() + piece.size() > limit) return shown + "...";
    shown += piece;
  }
  return shown;
}

}  // namespace platform
