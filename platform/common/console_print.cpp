#include <cstdarg>
#include <cstdio>
#include <string>

#include "platform/console.h"

namespace platform {

void Console::Print(int colour, const char* format, ...) {
  SetColour(colour);
  char small[512];
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (length < 0) {
    va_end(again);
    return;
  }
  if (static_cast<std::size_t>(length) < sizeof small) {
    Write(small, static_cast<std::size_t>(length));
  } else {
    std::string large(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(large.data(), large.size(), format, again);
    Write(large.data(), static_cast<std::size_t>(length));
  }
  va_end(again);
}

void Console::Dashes(int colour, int count) {
  SetColour(colour);
  std::string line(static_cast<std::size_t>(count), '-');
  line += '\n';
  Write(line.data(), line.size());
}

}  // namespace platform
