#include <windows.h>

#include <cstdlib>
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

void (*interrupt_handler)() = nullptr;
void (*ctrl_c_handler)() = nullptr;

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event == CTRL_C_EVENT && ctrl_c_handler != nullptr) {
    ctrl_c_handler();
  } else if (interrupt_handler != nullptr) {
    interrupt_handler();
  }
  return TRUE;
}

}  // namespace

void OnInterrupt(void (*handler)()) {
  interrupt_handler = handler;
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void OnCtrlC(void (*handler)()) {
  ctrl_c_handler = handler;
  if (interrupt_handler == nullptr) SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void EndProcessNow(int code) { ExitProcess(static_cast<UINT>(code)); }

}  // namespace platform
