#include "cli/streams.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace cli {

bool StandardInputIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stdin)) != 0;
#else
  return isatty(STDIN_FILENO) != 0;
#endif
}

bool StandardErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

bool WriteWhole(std::FILE* out, const std::string& text) {
  if (std::fflush(out) != 0) return false;
  const char* rest = text.data();
  std::size_t left = text.size();
  while (left > 0) {
#ifdef _WIN32
    const int written = _write(_fileno(out), rest, static_cast<unsigned>(left));
#else
    const ssize_t written = write(fileno(out), rest, left);
#endif
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    rest += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

std::string IsoUtc(std::chrono::sys_time<std::chrono::milliseconds> moment) {
  using namespace std::chrono;
  const auto day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss time{moment - day};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()), static_cast<int>(time.subseconds().count()));
  return text;
}

}  // namespace cli
