// The whole interactive program against a battery of chaos: the input's
// first bytes choose a menu choice (and a scan's start register), the rest
// are the battery's answers. Every answer is recorded on the way, and the
// recording must read back as a valid profile.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/program_main.h"
#include "fuzz/chaos_adapter.h"
#include "link/record/recording_adapter.h"
#include "link/sim/profile.h"
#include "link/smbus.h"
#include "link/trace.h"
#include "platform/posix/posix_console.h"

namespace {

constexpr char kChoices[] = {'1', '2', '3', '4', '5', '6', 'Z', 'Y', 'X', 'B', '0'};
constexpr bool kScans[] = {false, false, false, false, false, false, true, true, true, true, false};

std::string Keys(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return "";
  const std::size_t choice = data[0] % sizeof kChoices;
  std::string keys = {kChoices[choice], '\n'};
  if (kScans[choice]) {
    char start[8];
    std::snprintf(start, sizeof start, "%02X\n", data[1]);
    keys += start;
  }
  return keys;
}

std::filesystem::path scratch;

void RemoveScratch() {
  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);
}

}  // namespace

// The budget file and the restart script live in the working directory: a
// folder of the fuzzer's own, with a restart script that does nothing. The
// budget file is rewritten again and again: in memory where there is a tmpfs.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const bool shared_memory = std::filesystem::is_directory("/dev/shm");
  scratch = (shared_memory ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
            ("vantrel-chaos-" + std::to_string(getpid()));
  std::filesystem::create_directories(scratch);
  std::filesystem::current_path(scratch);
  std::atexit(RemoveScratch);
  std::FILE* script = std::fopen("RestartProgramm.sh", "w");
  if (script != nullptr) std::fclose(script);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::remove("CountSRCHadp.bin");
  std::string keys = Keys(data, size);
  const std::size_t skip = size < 2 ? size : 2;
  fuzzing::ChaosAdapter battery(data + skip, size - skip);
  smb::record::RecordingAdapter recording(battery);
  smb::Trace trace;
  trace.Open("/dev/null");
  std::FILE* out = std::fopen("/dev/null", "w");
  std::FILE* in = keys.empty() ? std::fopen("/dev/null", "r") : fmemopen(keys.data(), keys.size(), "r");
  platform::PosixConsoleSettings settings;
  settings.in = in;
  settings.out = out;
  settings.colour = true;
  platform::PosixConsole console(settings);
  smb::SMBus bus(recording, trace);
  core::Program program(console, bus);
  try {
    app::RunProgram(program);
  } catch (const core::ProgramEnd&) {
  }
  std::fclose(in);
  std::fclose(out);
  try {
    smb::sim::ParseProfile(recording.ProfileText(), "recorded");
  } catch (const smb::sim::ProfileError&) {
    std::abort();  // a recording that cannot be replayed
  }
  return 0;
}
