#pragma once
// A program wired to a simulated battery and a captured console, for tests
// of single routines; and a runner of the real binary for end-to-end tests.

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/program.h"
#include "link/sim/sim_adapter.h"
#include "link/smbus.h"
#include "link/trace.h"
#include "platform/console.h"

namespace testing_support {

// A fresh temporary directory, made the working directory for the test's life.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

#ifdef _WIN32
// On Windows the colours are console text attributes: none of them is in the text.
inline constexpr const char* G = "";
inline constexpr const char* C = "";
inline constexpr const char* R = "";
inline constexpr const char* M = "";
inline constexpr const char* Y = "";
inline constexpr const char* W = "";
// Nothing is written to leave the console as it was found.
inline constexpr const char* RESET = "";
// The running program's file name.
inline constexpr const char* kProgramName = "vantrel.exe";
#else
// ANSI colour sequences as the console writes them.
inline constexpr const char* G = "\x1b[92m";
inline constexpr const char* C = "\x1b[96m";
inline constexpr const char* R = "\x1b[91m";
inline constexpr const char* M = "\x1b[95m";
inline constexpr const char* Y = "\x1b[93m";
inline constexpr const char* W = "\x1b[97m";
// Written at the end of a run with colour on.
inline constexpr const char* RESET = "\x1b[0m";
inline constexpr const char* kProgramName = "vantrel";
#endif

// What the console commands "CLS" and "pause" leave in output that is not a
// terminal or console. On Windows they are run by the command processor,
// whose texts differ between Windows' cmd and wine's.
struct ConsoleCommandTexts {
  const char* clear_screen;
  const char* pause;  // with standard input not a terminal
};
inline constexpr ConsoleCommandTexts kConsoleOffWindows{"\f", "Press any key to continue . . . \n"};
inline constexpr ConsoleCommandTexts kWindowsCmd{"\f", "Press any key to continue . . . \n"};
// Wine's cmd writes nothing for "CLS" into a file, and its own pause text
// without a line end.
inline constexpr ConsoleCommandTexts kWineCmd{"", "Press any key to continue... "};
// The texts of the platform the tests run on.
const ConsoleCommandTexts& ConsoleCommands();
// The clear screen as it appears in captured output.
inline const std::string CLS = ConsoleCommands().clear_screen;

std::string Dashes(int count);

// A file's bytes; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

class TestProgram {
 public:
  // `profile_json` is a profile's text; `input` what standard input holds.
  explicit TestProgram(const std::string& profile_json, const std::string& input = "");
  // The same program on any adapter.
  explicit TestProgram(std::unique_ptr<smb::Adapter> adapter, const std::string& input = "");
  // A console put between the program and the captured console, to watch
  // what the program does with it.
  using ConsoleWrapper = std::function<std::unique_ptr<platform::Console>(platform::Console& captured)>;
  TestProgram(std::unique_ptr<smb::Adapter> adapter, const ConsoleWrapper& wrap);
  ~TestProgram();

  core::Program& p() { return *program_; }
  // Everything written to the console so far (colours as ANSI sequences).
  std::string Output();
  // The bus trace so far.
  std::string TraceText();

 private:
  ScratchDirectory scratch_;
  char* out_data_ = nullptr;
  std::size_t out_size_ = 0;
  std::filesystem::path out_path_;  // where the output is captured when not in memory
  std::FILE* out_ = nullptr;
  std::FILE* in_ = nullptr;
  std::string input_;
  std::unique_ptr<platform::Console> console_;
  std::unique_ptr<platform::Console> wrapper_;
  std::unique_ptr<smb::Adapter> adapter_;
  smb::Trace trace_;
  std::unique_ptr<smb::SMBus> bus_;
  std::unique_ptr<core::Program> program_;
};

struct RunResult {
  int exit_code = -1;
  std::string out;
  std::string err;
  std::string trace;
};

// Runs the real binary in `directory` with the given environment additions
// (SMBUS_TRACE is set by the runner), standard input and arguments. On Windows the
// program's standard output and error are text streams ("\n" reaches the file
// as "\r\n"); `out` and `err` hold the text as the program wrote it, and a
// line end that did not come through text mode is reported as a failure.
RunResult RunBinary(const std::filesystem::path& directory, const std::map<std::string, std::string>& env,
                    const std::string& input, const std::vector<std::string>& args = {});

#ifndef _WIN32
// Starts the real binary in `directory` with the given environment additions
// (nothing else of the program's variables) and the given descriptors as its
// standard input, output and error (-1: closed); a terminal as standard input
// becomes its controlling terminal. Returns its process id.
int StartBinary(const std::filesystem::path& directory, const std::map<std::string, std::string>& env, int in,
                int out, int err, const std::vector<std::string>& args = {});
// Waits for the program to end: its exit status, or -1 when a signal killed it.
int ExitStatus(int pid);
#endif

}  // namespace testing_support
