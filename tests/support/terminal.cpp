#ifndef _WIN32

#include "tests/support/terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace testing_support {

TerminalRun::TerminalRun(const std::filesystem::path& directory, const std::map<std::string, std::string>& env,
                         const std::vector<std::string>& args, const std::string& output_file) {
  child_ = forkpty(&master_, nullptr, nullptr, nullptr);
  if (child_ == 0) {
    if (chdir(directory.c_str()) != 0) _exit(126);
    if (!output_file.empty()) {
      const int out = open(output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (out < 0 || dup2(out, STDOUT_FILENO) < 0) _exit(126);
      close(out);
    }
    for (const char* name : {"SMBUS_ADAPTER", "SMBUS_TRACE", "SMBUS_SIM_REALTIME", "SMBUS_RECORD",
                             "CLICOLOR_FORCE", "NO_COLOR"}) {
      unsetenv(name);
    }
    setenv("TERM", "xterm", 1);
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv{const_cast<char*>(VANTREL_BINARY)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(VANTREL_BINARY, argv.data());
    _exit(127);
  }
}

TerminalRun::~TerminalRun() {
  if (child_ > 0) Finish();
}

// False at the end of the output, or after ten seconds without any.
bool TerminalRun::ReadSome() {
  pollfd wanted{master_, POLLIN, 0};
  if (poll(&wanted, 1, 10000) <= 0) return false;
  char bytes[4096];
  const ssize_t got = read(master_, bytes, sizeof bytes);
  if (got <= 0) return false;  // EIO once the program has closed the terminal
  output_.append(bytes, static_cast<std::size_t>(got));
  return true;
}

bool TerminalRun::WaitFor(const std::string& text) {
  std::size_t from = 0;
  while (output_.find(text, from) == std::string::npos) {
    // Only the new bytes, and an occurrence that they complete, are left to look at.
    from = output_.size() >= text.size() ? output_.size() - text.size() + 1 : 0;
    if (!ReadSome()) return false;
  }
  return true;
}

void TerminalRun::Type(const std::string& bytes) {
  [[maybe_unused]] const ssize_t written = write(master_, bytes.data(), bytes.size());
}

int TerminalRun::Finish() {
  while (ReadSome()) {
  }
  int status = 0;
  waitpid(child_, &status, 0);
  child_ = -1;
  close(master_);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace testing_support

#endif
