#pragma once
// The console the program talks to: coloured text out, one character or one
// word in, and the console commands "CLS" and "pause".

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Console text attributes; every coloured segment is preceded by one.
enum ConsoleColour : int {
  Green = 10,
  Cyan = 11,
  Red = 12,
  Magenta = 13,
  Yellow = 14,
  White = 15,
};

class Console {
 public:
  virtual ~Console() = default;

  virtual void SetColour(int colour) = 0;
  virtual void Write(const char* bytes, std::size_t count) = 0;
  // Text that comes from the battery: it must not reach a terminal as control bytes.
  virtual void WriteBatteryText(const std::uint8_t* bytes, std::size_t count) = 0;
  virtual void ClearScreen() = 0;
  virtual void Pause() = 0;
  // A beep; it lasts its duration only when `take_time` is set.
  virtual void Beep(int frequency, int milliseconds, bool take_time) = 0;
  // Moves the console window to the top left corner at 600 x 980 pixels.
  virtual void PlaceWindow() = 0;
  virtual void Flush() = 0;
  // Leaves the terminal as it was found; called once before the program ends.
  virtual void Finish() = 0;
  // The same for an interrupted program: async-signal-safe calls only.
  virtual void FinishFromSignalHandler() = 0;

  // One character of line-buffered input, or EOF.
  virtual int ReadChar() = 0;
  // One word: leading white space skipped, the word consumed up to the next
  // white space. Empty at end of input.
  virtual std::string ReadWord() = 0;

  // Sets the colour, then writes the formatted text.
  void Print(int colour, const char* format, ...) __attribute__((format(printf, 3, 4)));
  // Writes the formatted text in the colour already set.
  void Continue(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void NewLine() { Write("\n", 1); }
  // A separator: a line of dashes in one colour.
  void Dashes(int colour, int count);
};

// The console of the running process (standard input and output).
std::unique_ptr<Console> MakeProcessConsole();

}  // namespace platform
