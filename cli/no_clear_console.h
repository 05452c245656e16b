#pragma once
// The console of the command line: everything goes through to the process
// console but the screen clear, which the reports make themselves and which
// has no place in output meant for files and pipes.

#include "platform/console.h"

namespace cli {

class NoClearConsole : public platform::Console {
 public:
  explicit NoClearConsole(platform::Console& inner) : inner_(inner) {}

  void SetColour(int colour) override { inner_.SetColour(colour); }
  void Write(const char* bytes, std::size_t count) override { inner_.Write(bytes, count); }
  void WriteBatteryText(const std::uint8_t* bytes, std::size_t count) override {
    inner_.WriteBatteryText(bytes, count);
  }
  void ClearScreen() override {}
  void Pause() override { inner_.Pause(); }
  void Beep(int frequency, int milliseconds, bool take_time) override {
    inner_.Beep(frequency, milliseconds, take_time);
  }
  void PlaceWindow() override {}
  void Flush() override { inner_.Flush(); }
  void Finish() override { inner_.Finish(); }
  void FinishFromSignalHandler() override { inner_.FinishFromSignalHandler(); }
  int ReadChar() override { return inner_.ReadChar(); }
  std::string ReadWord() override { return inner_.ReadWord(); }

 private:
  platform::Console& inner_;
};

}  // namespace cli
