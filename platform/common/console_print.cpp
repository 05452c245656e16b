#include <cstdarg>
#include <cstdio>
#include <string>

#include "platform/console.h"

namespace platform {

namespace {

void WriteFormatted(Console& console, const char* format, va_list args) __attribute__((format(printf, 2, 0)));

void WriteFormatted(Console& console, const char* format, va_list args) {
  char small[512];
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(small, sizeof small, format, args);
  if (length >= 0 && static_cast<std::size_t>(length) < sizeof small) {
    console.Write(small, static_cast<std::size_t>(length));
  } else if (length >= 0) {
    std::string large(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(large.data(), large.size(), format, again);
    console.Write(large.data(), static_cast<std::size_t>(length));
  }
  va_end(again);
}

}  // namespace

void Console::Print(int colour, const char* format, ...) {
  SetColour(colour);
  va_list args;
  va_start(args, format);
  WriteFormatted(*this, format, args);
  va_end(args);
}

void Console::Continue(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteFormatted(*this, format, args);
  va_end(args);
}

void Console::Dashes(int colour, int count) {
  SetColour(colour);
  std::string line(static_cast<std::size_t>(count), '-');
  line += '\n';
  Write(line.data(), line.size());
}

}  // namespace platform
