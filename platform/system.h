#pragma once
// Time and process services of the operating system.

#include <string>

namespace platform {

// Blocks the calling thread for at least the given time.
void SleepMilliseconds(int milliseconds);

// The full path of the running executable, as the operating system gives it.
std::string ExecutablePath();

// Runs the restart script of the working directory with the program's file
// name as its only argument, and waits for it.
void RunRestartScript(const std::string& program_name);

// Calls `handler` when the program is interrupted: Ctrl-C (SIGINT), SIGTERM,
// SIGHUP or a broken standard output (SIGPIPE); on Windows the console's
// Ctrl-C, Ctrl-Break, close, log-off and shut-down events, given as the
// numbers of their POSIX counterparts (2, 2, 1, 15, 15). An interrupt that a
// parent set to be ignored (SIGINT of a background job, SIGHUP under nohup)
// stays ignored. The handler runs at once, or when the last InterruptDeferral
// ends if one exists; it may use only async-signal-safe calls. When it
// returns, the program goes on where it was interrupted.
void OnInterrupt(void (*handler)(int signal_number));

// While one exists, interrupts wait: the handler never sees a change half made.
class InterruptDeferral {
 public:
  InterruptDeferral();
  ~InterruptDeferral();
  InterruptDeferral(const InterruptDeferral&) = delete;
  InterruptDeferral& operator=(const InterruptDeferral&) = delete;
};

// Ends the process at once, from an interrupt handler.
[[noreturn]] void EndProcessNow(int code);

}  // namespace platform
