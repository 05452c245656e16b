#include <windows.h>

#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/system.h"

namespace platform {

void SleepMilliseconds(int milliseconds) {
  if (milliseconds > 0) ::Sleep(static_cast<DWORD>(milliseconds));
}

std::string ExecutablePath() {
  char path[260];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  // A path longer than the buffer comes back cut, as the system cuts it.
  return std::string(path, length < sizeof path ? length : sizeof path - 1);
}

// The batch file is looked up in the working directory by the command
// processor and gets the name as it stands, as batch files written for the
// program expect. A name with characters that the command processor would
// take apart or run ("&", blanks, ...) is quoted so that it stays one
// argument (Windows file names cannot hold a quote).
void RunRestartScript(const std::string& program_name) {
  const bool plain = program_name.find_first_of(" \t&|<>^()%!,;=") == std::string::npos;
  std::string command = "RestartProgramm.bat " + (plain ? program_name : "\"" + program_name + "\"");
  if (command.size() > 249) command.resize(249);
  std::fflush(nullptr);
  std::system(command.c_str());
}

namespace {

void (*interrupt_handler)(int) = nullptr;

// The console's control handler runs on a thread of its own: it waits until
// the main thread has left every deferral.
std::recursive_mutex& DeferralLock() {
  static std::recursive_mutex lock;
  return lock;
}

// The POSIX counterparts: an interrupt from the keyboard, a closed terminal,
// a request to terminate.
int SignalNumberOf(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: return 2;
    case CTRL_CLOSE_EVENT: return 1;
    default: return 15;
  }
}

BOOL WINAPI OnConsoleControl(DWORD event) {
  const std::lock_guard<std::recursive_mutex> deferrals_done(DeferralLock());
  interrupt_handler(SignalNumberOf(event));
  return TRUE;
}

}  // namespace

void OnInterrupt(void (*handler)(int signal_number)) {
  interrupt_handler = handler;
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

InterruptDeferral::InterruptDeferral() { DeferralLock().lock(); }

InterruptDeferral::~InterruptDeferral() { DeferralLock().unlock(); }

// The handler's thread ends the process while the main thread may hold a lock
// of the C runtime: what ExitProcess would still flush, the handler has written.
void EndProcessNow(int code) {
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace platform
