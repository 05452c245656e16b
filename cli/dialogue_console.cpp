#include "cli/dialogue_console.h"

#include <string>

#include "platform/system.h"

namespace cli {

void DialogueConsole::Write(const char* bytes, std::size_t count) {
  if (!on_error_) return inner_.Write(bytes, count);
  const platform::InterruptDeferral whole;
  std::fwrite(bytes, 1, count, stderr);
}

void DialogueConsole::WriteBatteryText(const std::uint8_t* bytes, std::size_t count) {
  if (!on_error_) return inner_.WriteBatteryText(bytes, count);
  // Standard error is the terminal here: a battery sends it no control bytes.
  std::string text(reinterpret_cast<const char*>(bytes), count);
  for (char& c : text) {
    if (c < 0x20 || c > 0x7E) c = '.';
  }
  Write(text.data(), text.size());
}

void DialogueConsole::Flush() {
  inner_.Flush();
  if (on_error_) std::fflush(stderr);
}

}  // namespace cli
