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
// processor. The name is quoted so that it stays one argument even with
// blanks or "&" in it (Windows file names cannot hold a quote).
void RunRestartScript(const std::string& program_name) {
  std::string command = "RestartProgramm.bat \"" + program_name + "\"";
  if (command.size() > 249) command.resize(249);
  std::fflush(nullptr);
  std::system(command.c_str());
}

}  // namespace platform
