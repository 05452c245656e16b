#include "platform/windows/windows_console.h"

#include <windows.h>

#include <cstdlib>

#include "platform/common/read_word.h"

namespace platform {

WindowsConsole::WindowsConsole(const WindowsConsoleSettings& settings) : settings_(settings) {
  if (!settings_.run_command) settings_.run_command = [](const char* command) { std::system(command); };
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (GetConsoleScreenBufferInfo(static_cast<HANDLE>(settings_.attributes), &info)) {
    has_initial_attributes_ = true;
    initial_attributes_ = info.wAttributes;
  }
}

void WindowsConsole::SetColour(int colour) {
  // Text still in the stdio buffer must reach the console in the old colour.
  if (has_initial_attributes_) std::fflush(settings_.out);
  SetConsoleTextAttribute(static_cast<HANDLE>(settings_.attributes), static_cast<WORD>(colour));
}

void WindowsConsole::Write(const char* bytes, std::size_t count) { std::fwrite(bytes, 1, count, settings_.out); }

void WindowsConsole::WriteBatteryText(const std::uint8_t* bytes, std::size_t count) {
  if (!settings_.out_is_console) {
    Write(reinterpret_cast<const char*>(bytes), count);
    return;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const bool printable = bytes[i] >= 0x20 && bytes[i] <= 0x7E;
    std::fputc(printable ? bytes[i] : '.', settings_.out);
  }
}

// The command processor writes to the same output: what is buffered goes first.
void WindowsConsole::RunCommand(const char* command) {
  Flush();
  settings_.run_command(command);
}

void WindowsConsole::ClearScreen() { RunCommand("CLS"); }

void WindowsConsole::Pause() { RunCommand("pause"); }

void WindowsConsole::Beep(int frequency, int milliseconds, bool take_time) {
  if (!take_time) return;
  Flush();
  ::Beep(static_cast<DWORD>(frequency), static_cast<DWORD>(milliseconds));
}

void WindowsConsole::PlaceWindow() {
  // Without a console window of its own (output redirected, or a host without
  // windows) there is nothing to place.
  if (HWND window = GetConsoleWindow()) MoveWindow(window, 0, 0, 600, 980, TRUE);
}

void WindowsConsole::Flush() { std::fflush(settings_.out); }

void WindowsConsole::Finish() {
  Flush();
  if (has_initial_attributes_) SetConsoleTextAttribute(static_cast<HANDLE>(settings_.attributes), initial_attributes_);
}

int WindowsConsole::ReadChar() {
  Flush();
  return std::fgetc(settings_.in);
}

std::string WindowsConsole::ReadWord() {
  Flush();
  return ReadWordFrom(settings_.in);
}

std::unique_ptr<Console> MakeProcessConsole() {
  WindowsConsoleSettings settings;
  settings.in = stdin;
  settings.out = stdout;
  settings.attributes = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  settings.out_is_console = GetConsoleMode(static_cast<HANDLE>(settings.attributes), &mode) != 0;
  return std::make_unique<WindowsConsole>(settings);
}

}  // namespace platform
