#include "platform/posix/posix_console.h"

#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/common/read_word.h"
#include "platform/system.h"

namespace platform {

namespace {

const char* AnsiForeground(int colour) {
  switch (colour) {
    case Green: return "\x1b[92m";
    case Cyan: return "\x1b[96m";
    case Red: return "\x1b[91m";
    case Magenta: return "\x1b[95m";
    case Yellow: return "\x1b[93m";
    case White: return "\x1b[97m";
    default: return nullptr;
  }
}

bool NonEmptyAndNotZero(const char* value) {
  return value != nullptr && value[0] != '\0' && std::strcmp(value, "0") != 0;
}

}  // namespace

bool ColourWanted(bool out_is_terminal, const char* clicolor_force, const char* no_color) {
  if (no_color != nullptr && no_color[0] != '\0') return false;
  return out_is_terminal || NonEmptyAndNotZero(clicolor_force);
}

PosixConsole::PosixConsole(const PosixConsoleSettings& settings) : settings_(settings) {}

void PosixConsole::SetColour(int colour) {
  if (!settings_.colour) return;
  if (const char* sequence = AnsiForeground(colour)) {
    std::fputs(sequence, settings_.out);
    coloured_ = 1;
  }
}

void PosixConsole::Write(const char* bytes, std::size_t count) {
  std::fwrite(bytes, 1, count, settings_.out);
}

void PosixConsole::WriteBatteryText(const std::uint8_t* bytes, std::size_t count) {
  if (!settings_.out_is_terminal) {
    Write(reinterpret_cast<const char*>(bytes), count);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const bool printable = bytes[i] >= 0x20 && bytes[i] <= 0x7E;
    std::fputc(printable ? bytes[i] : '.', settings_.out);
  }
}

void PosixConsole::ClearScreen() {
  if (settings_.out_is_terminal) {
    std::fputs("\x1b[H\x1b[2J\x1b[3J", settings_.out);
  } else {
    std::fputc('\f', settings_.out);
  }
}

void PosixConsole::Pause() {
  std::fputs("Press any key to continue . . . ", settings_.out);
  if (settings_.in_is_terminal) WaitForKey();
  std::fputc('\n', settings_.out);
}

// Reads one key from the terminal itself, not from the stdio buffer, so that
// characters typed ahead of the pause stay there for the menu.
void PosixConsole::WaitForKey() {
  Flush();
  const int fd = fileno(settings_.in);
  termios saved{};
  if (tcgetattr(fd, &saved) != 0) return;
  termios raw = saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(fd, TCSANOW, &raw);
  char key = 0;
  [[maybe_unused]] ssize_t got = read(fd, &key, 1);
  tcsetattr(fd, TCSANOW, &saved);
}

void PosixConsole::Beep(int, int milliseconds, bool take_time) {
  if (settings_.out_is_terminal) {
    std::fputc('\a', settings_.out);
  }
  if (take_time) {
    Flush();
    SleepMilliseconds(milliseconds);
  }
}

void PosixConsole::Flush() { std::fflush(settings_.out); }

void PosixConsole::Finish() {
  if (coloured_) std::fputs("\x1b[0m", settings_.out);
  Flush();
}

void PosixConsole::FinishFromSignalHandler() {
  if (coloured_ != 0) {
    [[maybe_unused]] ssize_t written = write(fileno(settings_.out), "\x1b[0m", 4);
  }
}

int PosixConsole::ReadChar() {
  Flush();
  return std::fgetc(settings_.in);
}

std::string PosixConsole::ReadWord() {
  Flush();
  return ReadWordFrom(settings_.in);
}

std::unique_ptr<Console> MakeProcessConsole() {
  PosixConsoleSettings settings;
  settings.in = stdin;
  settings.out = stdout;
  settings.in_is_terminal = isatty(STDIN_FILENO) != 0;
  settings.out_is_terminal = isatty(STDOUT_FILENO) != 0;
  settings.colour = ColourWanted(settings.out_is_terminal, std::getenv("CLICOLOR_FORCE"),
                                 std::getenv("NO_COLOR"));
  return std::make_unique<PosixConsole>(settings);
}

}  // namespace platform
