#include "tests/support/harness.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "platform/windows/windows_console.h"
#else
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/posix_console.h"
#endif

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

namespace testing_support {

namespace fs = std::filesystem;

namespace {

// The variables the program reads: a test sets them itself or not at all.
constexpr const char* kProgramVariables[] = {"SMBUS_ADAPTER", "SMBUS_TRACE", "SMBUS_SIM_REALTIME",
                                             "SMBUS_RECORD",  "CLICOLOR_FORCE", "NO_COLOR"};

#ifdef _WIN32

fs::path MakeTempDirectory() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (;;) {
    const fs::path path = fs::temp_directory_path() / ("vantrel-test-" + std::to_string(random() % 1000000000));
    if (fs::create_directory(path)) return path;
  }
}

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Undoes the text mode of a stream: "\r\n" back to "\n". A "\n" without its
// "\r" cannot have come through text mode and fails the test.
std::string FromTextMode(const std::string& raw, const char* stream) {
  std::string text;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    if (raw[i] == '\n' && (i == 0 || raw[i - 1] != '\r')) {
      ADD_FAILURE() << stream << " has a line end that is not \"\\r\\n\" at byte " << i;
    }
    text += raw[i];
  }
  return text;
}

// Wine now and then refuses to start a process while many run at once
// (error 1359); a later try succeeds.
template <typename Start>
bool StartWithRetries(Start start) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (attempt > 0) Sleep(200);
    if (start()) return true;
  }
  return false;
}

// Runs a command through the command processor as `system` does, with the
// given file as its standard output (as a program's own standard output is
// inherited) and no input.
void RunCommandWithOutput(const char* command, std::FILE* out) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE output = nullptr;
  DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(out))), GetCurrentProcess(),
                  &output, 0, TRUE, DUPLICATE_SAME_ACCESS);
  HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                             nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::string command_line = std::string("cmd.exe /c ") + command;
  PROCESS_INFORMATION process{};
  if (StartWithRetries([&] {
        return CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                              &process) != 0;
      })) {
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    ADD_FAILURE() << "cannot run " << command_line << ": error " << GetLastError();
  }
  CloseHandle(input);
  CloseHandle(output);
}

bool IsProgramVariable(const std::string& name) {
  return std::any_of(std::begin(kProgramVariables), std::end(kProgramVariables),
                     [&](const char* variable) { return _stricmp(variable, name.c_str()) == 0; });
}

// The test process's environment less the program's variables, then the given ones.
std::string EnvironmentBlock(const std::map<std::string, std::string>& env) {
  std::vector<std::string> entries;
  char* block = GetEnvironmentStringsA();
  for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1) {
    const std::string text = entry;
    const std::size_t equals = text.find('=', 1);
    if (!IsProgramVariable(text.substr(0, equals))) entries.push_back(text);
  }
  FreeEnvironmentStringsA(block);
  for (const auto& [name, value] : env) entries.push_back(name + "=" + value);
  std::sort(entries.begin(), entries.end(),
            [](const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) < 0; });
  std::string joined;
  for (const std::string& entry : entries) joined += entry + '\0';
  return joined + '\0';
}

HANDLE InheritableFile(const fs::path& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The program under test lies beside the test program.
fs::path ProgramPath() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path() / "vantrel.exe";
}

#else

fs::path MakeTempDirectory() {
  std::string pattern = (fs::temp_directory_path() / "vantrel-test-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) std::abort();
  return fs::path(name.data());
}

#endif

}  // namespace

const ConsoleCommandTexts& ConsoleCommands() {
#ifdef _WIN32
  static const bool wine = UnderWine();
  return wine ? kWineCmd : kWindowsCmd;
#else
  return kConsoleOffWindows;
#endif
}

ScratchDirectory::ScratchDirectory() : path_(MakeTempDirectory()), previous_(fs::current_path()) {
  fs::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
  fs::current_path(previous_);
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string Dashes(int count) { return std::string(static_cast<std::size_t>(count), '-'); }

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

TestProgram::TestProgram(const std::string& profile_json, const std::string& input)
    : TestProgram(std::make_unique<smb::sim::SimAdapter>(smb::sim::ParseProfile(profile_json, "test"), false), input) {}

TestProgram::TestProgram(std::unique_ptr<smb::Adapter> adapter, const ConsoleWrapper& wrap)
    : TestProgram(std::move(adapter), "") {
  wrapper_ = wrap(*console_);
  program_ = std::make_unique<core::Program>(*wrapper_, *bus_);
}

#ifdef _WIN32

// The console of a redirected Windows program: text-mode output, colours as
// attributes of a handle that is no console, and the console commands run by
// the command processor with their output added to the same file.
TestProgram::TestProgram(std::unique_ptr<smb::Adapter> adapter, const std::string& input)
    : input_(input), adapter_(std::move(adapter)) {
  out_path_ = scratch_.path() / "console.txt";
  const fs::path in_path = scratch_.path() / "console-input.txt";
  std::ofstream(in_path, std::ios::binary) << input_;
  out_ = _wfopen(out_path_.c_str(), L"a");
  in_ = _wfopen(in_path.c_str(), L"r");
  platform::WindowsConsoleSettings settings;
  settings.in = in_;
  settings.out = out_;
  std::FILE* out = out_;
  settings.run_command = [out](const char* command) { RunCommandWithOutput(command, out); };
  console_ = std::make_unique<platform::WindowsConsole>(settings);
  trace_.Open((scratch_.path() / "trace.txt").string());
  bus_ = std::make_unique<smb::SMBus>(*adapter_, trace_);
  program_ = std::make_unique<core::Program>(*console_, *bus_);
}

TestProgram::~TestProgram() {
  program_.reset();
  wrapper_.reset();
  console_.reset();
  std::fclose(out_);
  std::fclose(in_);
}

std::string TestProgram::Output() {
  std::fflush(out_);
  return FromTextMode(ReadFile(out_path_), "console output");
}

#else

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
  wrapper_.reset();
  console_.reset();
  std::fclose(out_);
  std::fclose(in_);
  std::free(out_data_);
}

std::string TestProgram::Output() {
  std::fflush(out_);
  return std::string(out_data_, out_size_);
}

#endif

std::string TestProgram::TraceText() { return ReadFile(scratch_.path() / "trace.txt"); }

#ifdef _WIN32

RunResult RunBinary(const fs::path& directory, const std::map<std::string, std::string>& env,
                    const std::string& input, const std::vector<std::string>& args) {
  const fs::path in_path = directory / "stdin.txt";
  const fs::path out_path = directory / "stdout.txt";
  const fs::path err_path = directory / "stderr.txt";
  const fs::path trace_path = directory / "trace.txt";
  std::ofstream(in_path, std::ios::binary) << input;
  std::map<std::string, std::string> variables = {{"SMBUS_TRACE", trace_path.string()}};
  for (const auto& [name, value] : env) variables[name] = value;
  std::string environment = EnvironmentBlock(variables);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = InheritableFile(in_path, false);
  startup.hStdOutput = InheritableFile(out_path, true);
  startup.hStdError = InheritableFile(err_path, true);
  const fs::path program = ProgramPath();
  std::wstring command_line = L"\"" + program.wstring() + L"\"";
  // The tests' arguments hold no quotes: quoting each keeps blanks inside it.
  for (const std::string& arg : args) command_line += L" \"" + fs::path(arg).wstring() + L"\"";
  PROCESS_INFORMATION process{};
  RunResult result;
  if (StartWithRetries([&] {
        return CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0, environment.data(),
                              directory.c_str(), &startup, &process) != 0;
      })) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) result.exit_code = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    ADD_FAILURE() << "cannot start " << program.string() << ": error " << GetLastError();
  }
  for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) CloseHandle(handle);
  result.out = FromTextMode(ReadFile(out_path), "standard output");
  result.err = FromTextMode(ReadFile(err_path), "standard error");
  result.trace = ReadFile(trace_path);
  return result;
}

#else

RunResult RunBinary(const fs::path& directory, const std::map<std::string, std::string>& env,
                    const std::string& input, const std::vector<std::string>& args) {
  const fs::path in_path = directory / "stdin.txt";
  const fs::path out_path = directory / "stdout.txt";
  const fs::path err_path = directory / "stderr.txt";
  const fs::path trace_path = directory / "trace.txt";
  std::ofstream(in_path, std::ios::binary) << input;
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(directory.c_str()) != 0) _exit(126);
    for (const char* name : kProgramVariables) unsetenv(name);
    setenv("SMBUS_TRACE", trace_path.c_str(), 1);
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    if (!freopen(in_path.c_str(), "r", stdin) || !freopen(out_path.c_str(), "w", stdout) ||
        !freopen(err_path.c_str(), "w", stderr)) {
      _exit(126);
    }
    std::vector<char*> argv{const_cast<char*>(VANTREL_BINARY)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(VANTREL_BINARY, argv.data());
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

int StartBinary(const fs::path& directory, const std::map<std::string, std::string>& env, int in, int out,
                int err, const std::vector<std::string>& args) {
  const pid_t child = fork();
  if (child != 0) return child;
  if (chdir(directory.c_str()) != 0) _exit(126);
  for (const char* name : kProgramVariables) unsetenv(name);
  for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
  const int given[3] = {in, out, err};
  int moved[3];
  // Out of the way first: a given descriptor may be 0, 1 or 2 already.
  for (int i = 0; i < 3; ++i) moved[i] = given[i] >= 0 ? fcntl(given[i], F_DUPFD_CLOEXEC, 10) : -1;
  for (int i = 0; i < 3; ++i) {
    if (moved[i] >= 0) {
      dup2(moved[i], i);
    } else {
      close(i);
    }
  }
  if (in >= 0 && isatty(STDIN_FILENO)) {
    setsid();
    ioctl(STDIN_FILENO, TIOCSCTTY, 0);
  }
  std::vector<char*> argv{const_cast<char*>(VANTREL_BINARY)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execv(VANTREL_BINARY, argv.data());
  _exit(127);
}

int ExitStatus(int pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

}  // namespace testing_support
