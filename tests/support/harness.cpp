#include "tests/support/harness.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

namespace testing_support {

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

fs::path MakeTempDirectory() {
  std::string pattern = (fs::temp_directory_path() / "vantrel-test-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) std::abort();
  return fs::path(name.data());
}

}  // namespace

ScratchDirectory::ScratchDirectory() : path_(MakeTempDirectory()), previous_(fs::current_path()) {
  fs::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
  fs::current_path(previous_);
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string Dashes(int count) { return std::string(static_cast<std::size_t>(count), '-'); }

TestProgram::TestProgram(const std::string& profile_json, const std::string& input)
    : TestProgram(std::make_unique<smb::sim::SimAdapter>(smb::sim::ParseProfile(profile_json, "test"), false), input) {}

TestProgram::TestProgram(std::unique_ptr<smb::Adapter> adapter, const std::string& input)
    : input_(input), adapter_(std::move(adapter)) {
  out_ = open_memstream(&out_data_, &out_size_);
  in_ = input_.empty() ? std::fopen("/dev/null", "r") : fmemopen(input_.data(), input_.size(), "r");
  platform::PosixConsoleSettings settings;
  settings.in = in_;
  settings.out = out_;
  settings.colour = true;
  console_ = std::make_unique<platform::PosixConsole>(settings);
  trace_.Open((scratch_.path() / "trace.txt").string());
  bus_ = std::make_unique<smb::SMBus>(*adapter_, trace_);
  program_ = std::make_unique<core::Program>(*console_, *bus_);
}

TestProgram::~TestProgram() {
  program_.reset();
  console_.reset();
  std::fclose(out_);
  std::fclose(in_);
  std::free(out_data_);
}

std::string TestProgram::Output() {
  std::fflush(out_);
  return std::string(out_data_, out_size_);
}

std::string TestProgram::TraceText() { return ReadFile(scratch_.path() / "trace.txt"); }

RunResult RunBinary(const fs::path& directory, const std::map<std::string, std::string>& env,
                    const std::string& input) {
  const fs::path in_path = directory / "stdin.txt";
  const fs::path out_path = directory / "stdout.txt";
  const fs::path err_path = directory / "stderr.txt";
  const fs::path trace_path = directory / "trace.txt";
  std::ofstream(in_path, std::ios::binary) << input;
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(directory.c_str()) != 0) _exit(126);
    for (const char* name : {"SMBUS_ADAPTER", "SMBUS_TRACE", "SMBUS_SIM_REALTIME", "SMBUS_RECORD",
                             "CLICOLOR_FORCE", "NO_COLOR"}) {
      unsetenv(name);
    }
    setenv("SMBUS_TRACE", trace_path.c_str(), 1);
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    if (!freopen(in_path.c_str(), "r", stdin) || !freopen(out_path.c_str(), "w", stdout) ||
        !freopen(err_path.c_str(), "w", stderr)) {
      _exit(126);
    }
    execl(VANTREL_BINARY, VANTREL_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  RunResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadFile(out_path);
  result.err = ReadFile(err_path);
  result.trace = ReadFile(trace_path);
  return result;
}

}  // namespace testing_support
