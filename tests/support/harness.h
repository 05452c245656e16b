#pragma once
// A program wired to a simulated battery and a captured console, for tests
// of single routines; and a runner of the real binary for end-to-end tests.

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "core/program.h"
#include "link/sim/sim_adapter.h"
#include "link/smbus.h"
#include "link/trace.h"
#include "platform/posix/posix_console.h"

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

// ANSI colour sequences as the console writes them.
inline constexpr const char* G = "\x1b[92m";
inline constexpr const char* C = "\x1b[96m";
inline constexpr const char* R = "\x1b[91m";
inline constexpr const char* M = "\x1b[95m";
inline constexpr const char* Y = "\x1b[93m";
inline constexpr const char* W = "\x1b[97m";

std::string Dashes(int count);

class TestProgram {
 public:
  // `profile_json` is a profile's text; `input` what standard input holds.
  explicit TestProgram(const std::string& profile_json, const std::string& input = "");
  // The same program on any adapter.
  explicit TestProgram(std::unique_ptr<smb::Adapter> adapter, const std::string& input = "");
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
  std::FILE* out_ = nullptr;
  std::FILE* in_ = nullptr;
  std::string input_;
  std::unique_ptr<platform::PosixConsole> console_;
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
// (SMBUS_TRACE is set by the runner) and standard input.
RunResult RunBinary(const std::filesystem::path& directory, const std::map<std::string, std::string>& env,
                    const std::string& input);

}  // namespace testing_support
