#include "platform/posix/posix_console.h"

#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

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

bool ColourWanted(bool out_takes_escapes, const char* clicolor_force, const char* no_color) {
  if (no_color != nullptr && no_color[0] != '\0') return false;
  return out_takes_escapes || NonEmptyAndNotZero(clicolor_force);
}

PosixConsole::PosixConsole(const PosixConsoleSettings& settings) : settings_(settings) {}

void PosixConsole::Put(const char* bytes, std::size_t count, bool moves_cursor) {
  if (count == 0) return;
  const InterruptDeferral whole;
  std::fwrite(bytes, 1, count, settings_.out);
  if (moves_cursor) at_line_start_ = bytes[count - 1] == '\n' ? 1 : 0;
}

void PosixConsole::SetColour(int colour) {
  if (!settings_.colour) return;
  if (const char* sequence = AnsiForeground(colour)) {
    Put(sequence, std::strlen(sequence), false);
    coloured_ = 1;
  }
}

void PosixConsole::Write(const char* bytes, std::size_t count) { Put(bytes, count); }

void PosixConsole::WriteBatteryText(const std::uint8_t* bytes, std::size_t count) {
  std::string text(reinterpret_cast<const char*>(bytes), count);
  if (settings_.out_is_terminal) {
    for (char& c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte > 0x7E) c = '.';
    }
  }
  Put(text.data(), text.size());
}

void PosixConsole::ClearScreen() {
  if (settings_.out_takes_escapes) {
    // Not ESC[3J: the user's scrollback (earlier commands, earlier screens) stays.
    Put("\x1b[H\x1b[2J", 7);
    at_line_start_ = 1;
  } else {
    Put("\f", 1);
  }
}

void PosixConsole::Pause() {
  static constexpr char kPrompt[] = "Press any key to continue . . . ";
  Put(kPrompt, sizeof kPrompt - 1);
  if (settings_.in_is_terminal) WaitForKey();
  Put("\n", 1);
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
  // An interrupt from here on puts the terminal back as it was found.
  found_ = saved;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  key_mode_ = 1;
  tcsetattr(fd, TCSANOW, &raw);
  char key = 0;
  [[maybe_unused]] ssize_t got = read(fd, &key, 1);
  tcsetattr(fd, TCSANOW, &saved);
  key_mode_ = 0;
}

void PosixConsole::Beep(int, int milliseconds, bool take_time) {
  if (settings_.out_is_terminal) Put("\a", 1, false);
  if (take_time) {
    Flush();
    SleepMilliseconds(milliseconds);
  }
}

void PosixConsole::Flush() {
  const InterruptDeferral whole;
  std::fflush(settings_.out);
}

void PosixConsole::Finish() {
  if (coloured_) Put("\x1b[0m", 4, false);
  Flush();
}

// Interrupts wait while output is written, so what is buffered is whole and
// can go out before the terminal is put back as it was found.
void PosixConsole::FinishFromSignalHandler() {
  const int in = fileno(settings_.in);
  termios now{};
  // A Ctrl-C that the terminal echoed ("^C") left the cursor inside a line.
  const bool echoed = settings_.in_is_terminal && tcgetattr(in, &now) == 0 && (now.c_lflag & ECHO) != 0;
  if (key_mode_ != 0) tcsetattr(in, TCSANOW, &found_);
  std::fflush(settings_.out);
  const int out = fileno(settings_.out);
  if (coloured_ != 0) {
    [[maybe_unused]] const ssize_t written = write(out, "\x1b[0m", 4);
  }
  if (settings_.out_is_terminal && (at_line_start_ == 0 || echoed)) {
    [[maybe_unused]] const ssize_t written = write(out, "\n", 1);
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
  const char* term = std::getenv("TERM");
  settings.out_takes_escapes = settings.out_is_terminal && (term == nullptr || std::strcmp(term, "dumb") != 0);
  settings.colour = ColourWanted(settings.out_takes_escapes, std::getenv("CLICOLOR_FORCE"), std::getenv("NO_COLOR"));
  return std::make_unique<PosixConsole>(settings);
}

}  // namespace platform
