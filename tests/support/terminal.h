#pragma once
// The real binary on a pseudo-terminal: its standard input, output and error
// are the terminal, as when a person runs it, and typed bytes (Ctrl-C too)
// reach it through the terminal. Not on Windows.

#ifndef _WIN32

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

class TerminalRun {
 public:
  // With `output_file`, standard output goes there instead of the terminal.
  TerminalRun(const std::filesystem::path& directory, const std::map<std::string, std::string>& env,
              const std::vector<std::string>& args, const std::string& output_file = "");
  ~TerminalRun();

  // Reads the terminal until `text` has appeared; false when the program
  // ended or fell silent for ten seconds first.
  bool WaitFor(const std::string& text);
  void Type(const std::string& bytes);
  // Reads the rest and waits for the program: its exit status.
  int Finish();
  // What the terminal showed (its line ends as "\r\n").
  const std::string& output() const { return output_; }

 private:
  bool ReadSome();

  pid_t child_ = -1;
  int master_ = -1;
  std::string output_;
};

}  // namespace testing_support

#endif
