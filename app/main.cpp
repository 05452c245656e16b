#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "app/program_main.h"
#include "cli/command_line.h"
#include "link/adapter_choice.h"
#include "link/record/recording_adapter.h"
#include "link/smbus.h"
#include "link/trace.h"
#include "platform/console.h"
#include "platform/system.h"

namespace {

// What an interrupt must still do: keep the recording and reset the terminal.
const smb::record::RecordingAdapter* interrupted_recording = nullptr;
platform::Console* interrupted_console = nullptr;

void OnInterrupt() {
  if (interrupted_recording != nullptr) interrupted_recording->WriteFromSignalHandler();
  if (interrupted_console != nullptr) interrupted_console->FinishFromSignalHandler();
  platform::EndProcessNow(130);
}

const char* NonEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0' ? value : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  // With arguments: one command of the command line, then exit.
  if (argc > 1) return cli::RunCommandLine(argc, argv);
  std::unique_ptr<smb::Adapter> backend;
  try {
    backend = smb::MakeAdapter(std::getenv("SMBUS_ADAPTER"), std::getenv("SMBUS_SIM_REALTIME"));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vantrel: %s\n", error.what());
    return 2;
  }
  smb::Adapter* adapter = backend.get();
  std::unique_ptr<smb::record::RecordingAdapter> recording;
  if (const char* record_path = NonEmpty("SMBUS_RECORD")) {
    recording = std::make_unique<smb::record::RecordingAdapter>(*backend, record_path);
    if (!recording->Write()) {
      std::fprintf(stderr, "vantrel: SMBUS_RECORD=%s: the file cannot be written\n", record_path);
      return 2;
    }
    adapter = recording.get();
  }
  smb::Trace trace;
  if (const char* trace_path = NonEmpty("SMBUS_TRACE"); trace_path != nullptr && !trace.Open(trace_path)) {
    std::fprintf(stderr, "vantrel: SMBUS_TRACE=%s: the trace file cannot be written\n", trace_path);
    return 2;
  }
  const std::unique_ptr<platform::Console> console = platform::MakeProcessConsole();
  interrupted_recording = recording.get();
  interrupted_console = console.get();
  platform::OnInterrupt(OnInterrupt);

  smb::SMBus bus(*adapter, trace);
  core::Program program(*console, bus);
  int code = 0;
  try {
    app::RunProgram(program);
  } catch (const core::ProgramEnd& end) {
    code = end.code;
  }
  console->Finish();
  if (recording != nullptr && !recording->Write()) {
    std::fprintf(stderr, "vantrel: SMBUS_RECORD: the recording could not be written\n");
  }
  return code;
}
