#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <string>

#include "platform/system.h"

namespace platform {

void SleepMilliseconds(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec wanted{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&wanted, &wanted) != 0 && errno == EINTR) {
  }
}

std::string ExecutablePath() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  return std::string(path, static_cast<std::size_t>(length));
}

// The name goes to the script as one argument, never through a shell's parser.
void RunRestartScript(const std::string& program_name) {
  const pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    execl("/bin/sh", "sh", "RestartProgramm.sh", program_name.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

namespace {

void (*interrupt_handler)() = nullptr;
void (*ctrl_c_handler)() = nullptr;

extern "C" void OnSignal(int) { interrupt_handler(); }
extern "C" void OnCtrlCSignal(int) { ctrl_c_handler(); }

}  // namespace

void OnInterrupt(void (*handler)()) {
  interrupt_handler = handler;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

// Calls cut short by Ctrl-C are restarted, so no write is left half done.
void OnCtrlC(void (*handler)()) {
  ctrl_c_handler = handler;
  struct sigaction action {};
  action.sa_handler = OnCtrlCSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

void EndProcessNow(int code) { _exit(code); }

}  // namespace platform
