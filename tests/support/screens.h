#pragma once
// Screens of the menu cycle as the program must write them, with colour
// sequences (tests run with colour on), written from the program's texts.

#include <string>

#include "tests/support/harness.h"

namespace testing_support {

// A line end written after a segment ("and a line end").
inline constexpr const char* NL = "\n";

// " Program run NAME = " with the program's name.
std::string StartupScreen(const std::string& name);

// The adapter discovery attempt: clear screen and the header.
std::string AttemptScreen();

// The success block with the firmware version text "1.2.3"; the budget file
// is expected to exist (no file error block).
std::string SuccessScreen(const std::string& version);

// The file error block of a missing budget file.
std::string FileErrorBlock();

// One failure pass showing the budget number.
std::string FailurePassScreen(const std::string& number);

// The probe's failure screen (after its clear screen).
std::string NoBatteryScreen(const std::string& manuf, const std::string& soc, int counter);

// Steps 3 to 8 of a menu cycle before the choice: Read 0x0d, PEC and the menu.
std::string MenuScreen(const std::string& read_0d_hex);

// What the pause after a choice writes, with standard input not a terminal.
std::string PauseText();

// A whole menu cycle on the default battery (state of charge 85, word 0x00
// unanswered) with an adapter that opens at once, and its bus trace.
std::string DefaultBatteryCycle();
extern const char* const kDefaultBatteryCycleTrace;

}  // namespace testing_support
