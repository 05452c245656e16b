#pragma once
// Where a security or backup command shows the gauge and its planned writes:
// when it is about to ask at the terminal, on standard error, so that the
// question reaches the user also when standard output goes to a file. The
// answer is read from the program's console.

#include <cstdio>

#include "platform/console.h"

namespace cli {

class DialogueConsole : public platform::Console {
 public:
  DialogueConsole(platform::Console& inner, bool on_standard_error) : inner_(inner), on_error_(on_standard_error) {}

  void SetColour(int colour) override {
    if (!on_error_) inner_.SetColour(colour);
  }
  void Write(const char* bytes, std::size_t count) override;
  void WriteBatteryText(const std::uint8_t* bytes, std::size_t count) override;
  void ClearScreen() override {}
  void Pause() override {}
  void Beep(int, int, bool) override {}
  void PlaceWindow() override {}
  void Flush() override;
  void Finish() override {}
  void FinishFromSignalHandler() override {}
  int ReadChar() override { return inner_.ReadChar(); }
  std::string ReadWord() override { return inner_.ReadWord(); }

 private:
  platform::Console& inner_;
  bool on_error_;
};

}  // namespace cli
