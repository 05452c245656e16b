#pragma once
// Time and process services of the operating system.

#include <string>

namespace platform {

// Blocks the calling thread for the given time.
void SleepMilliseconds(int milliseconds);

// The full path of the running executable, as the operating system gives it.
std::string ExecutablePath();

// Runs the restart script of the working directory with the program's file
// name as its only argument, and waits for it.
void RunRestartScript(const std::string& program_name);

// Calls `handler` when the user interrupts the program (Ctrl-C) or it is asked
// to terminate; the handler may use only async-signal-safe calls and must not return.
void OnInterrupt(void (*handler)());

// Calls `handler` on Ctrl-C instead of the interrupt handler, for a program
// that stops in its own time; the handler may use only async-signal-safe
// calls and returns, and the interrupted work goes on.
void OnCtrlC(void (*handler)());

// Ends the process at once, from an interrupt handler.
[[noreturn]] void EndProcessNow(int code);

}  // namespace platform
