#pragma once
// The console off Windows: ANSI colours, form feed or ANSI clear, a pause that
// reads one key straight from the terminal.

#include <termios.h>

#include <csignal>
#include <cstdio>

#include "platform/console.h"

namespace platform {

struct PosixConsoleSettings {
  std::FILE* in = nullptr;
  std::FILE* out = nullptr;
  bool in_is_terminal = false;
  bool out_is_terminal = false;
  bool out_takes_escapes = false;  // a terminal whose TERM is not "dumb"
  bool colour = false;
};

// Colour is on when standard output is a terminal that takes escape sequences
// or CLICOLOR_FORCE asks for it, and never with NO_COLOR.
bool ColourWanted(bool out_takes_escapes, const char* clicolor_force, const char* no_color);

class PosixConsole : public Console {
 public:
  explicit PosixConsole(const PosixConsoleSettings& settings);

  void SetColour(int colour) override;
  void Write(const char* bytes, std::size_t count) override;
  void WriteBatteryText(const std::uint8_t* bytes, std::size_t count) override;
  void ClearScreen() override;
  void Pause() override;
  void Beep(int frequency, int milliseconds, bool take_time) override;
  void PlaceWindow() override {}
  void Flush() override;
  void Finish() override;
  void FinishFromSignalHandler() override;
  int ReadChar() override;
  std::string ReadWord() override;

 private:
  void WaitForKey();
  // Every write to the output goes through here, whole before an interrupt.
  void Put(const char* bytes, std::size_t count, bool moves_cursor = true);

  PosixConsoleSettings settings_;
  volatile sig_atomic_t coloured_ = 0;       // a colour sequence has been written
  volatile sig_atomic_t at_line_start_ = 1;  // the last byte written ended a line
  volatile sig_atomic_t key_mode_ = 0;       // the terminal waits for one key, without echo
  termios found_{};                          // the terminal as found, while key_mode_ is set
};

}  // namespace platform
