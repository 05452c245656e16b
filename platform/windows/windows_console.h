#pragma once
// The console at home on Windows: colours are console text attributes,
// "CLS" and "pause" are commands of the command processor.

#include <cstdio>
#include <functional>

#include "platform/console.h"

namespace platform {

struct WindowsConsoleSettings {
  std::FILE* in = nullptr;
  std::FILE* out = nullptr;
  // The console handle whose text attributes are the colours (a HANDLE).
  // When it is not a console, colour changes have no effect.
  void* attributes = nullptr;
  // Standard output is a console: battery text is then kept printable.
  bool out_is_console = false;
  // Runs a console command through the command processor and waits for it.
  std::function<void(const char* command)> run_command;
};

class WindowsConsole : public Console {
 public:
  explicit WindowsConsole(const WindowsConsoleSettings& settings);

  void SetColour(int colour) override;
  void Write(const char* bytes, std::size_t count) override;
  void WriteBatteryText(const std::uint8_t* bytes, std::size_t count) override;
  void ClearScreen() override;
  void Pause() override;
  void Beep(int frequency, int milliseconds, bool take_time) override;
  void PlaceWindow() override;
  void Flush() override;
  void Finish() override;
  void FinishFromSignalHandler() override { Finish(); }
  int ReadChar() override;
  std::string ReadWord() override;

 private:
  void RunCommand(const char* command);

  WindowsConsoleSettings settings_;
  bool has_initial_attributes_ = false;
  unsigned short initial_attributes_ = 0;  // restored by Finish
};

}  // namespace platform
