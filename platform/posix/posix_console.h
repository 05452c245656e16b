#pragma once
// The console off Windows: ANSI colours, form feed or ANSI clear, a pause that
// reads one key straight from the terminal.

#include <csignal>
#include <cstdio>

#include "platform/console.h"

namespace platform {

struct PosixConsoleSettings {
  std::FILE* in = nullptr;
  std::FILE* out = nullptr;
  bool in_is_terminal = false;
  bool out_is_terminal = false;
  bool colour = false;
};

// Colour is on when standard output is a terminal or CLICOLOR_FORCE asks for
// it, and never with NO_COLOR.
bool ColourWanted(bool out_is_terminal, const char* clicolor_force, const char* no_color);

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

  PosixConsoleSettings settings_;
  volatile sig_atomic_t coloured_ = 0;  // a colour sequence has been written
};

}  // namespace platform
