#include "cli/session.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "cli/no_clear_console.h"
#include "link/adapter_choice.h"
#include "link/record/recording_adapter.h"
#include "link/smbus.h"
#include "link/trace.h"
#include "platform/console.h"
#include "platform/system.h"

namespace cli {

namespace {

// What an interrupt must still do: keep the recording and reset the terminal.
const smb::record::RecordingAdapter* interrupted_recording = nullptr;
platform::Console* interrupted_console = nullptr;
void (*interrupted_step)() = nullptr;

void OnInterrupt() {
  if (interrupted_step != nullptr) interrupted_step();
  if (interrupted_recording != nullptr) interrupted_recording->WriteFromSignalHandler();
  if (interrupted_console != nullptr) interrupted_console->FinishFromSignalHandler();
  platform::EndProcessNow(130);
}

const char* NonEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0' ? value : nullptr;
}

constexpr int kExpectedInterfaceId = 0x4D5355;
constexpr int kCloseAndReopen = -1005;  // an adapter left open by an earlier run
constexpr int kNoInterfaceQuery = -1000;

// One open attempt, as adapter discovery judges it, but no search.
bool OpenAdapter(core::Program& p) {
  p.status = p.bus.SMBOpenDeviceVIDPID(smb::kAdapterVendorId, smb::kAdapterProductId);
  if (p.status == kNoInterfaceQuery) return false;
  const int id = p.bus.SMBInterfaceID();
  if (p.status == kCloseAndReopen && id == kExpectedInterfaceId) {
    p.bus.SMBCloseDevice();
    p.status = p.bus.SMBOpenDeviceVIDPID(smb::kAdapterVendorId, smb::kAdapterProductId);
  }
  return p.status > 0;
}

// The presence probe's reads and rule, a few times within a second: a pack
// that sleeps wakes on the first transfers.
bool BatteryAnswers(core::Program& p) {
  constexpr int kAttempts = 3;
  constexpr int kPauseMs = 300;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) p.Sleep(kPauseMs);
    const int manufacturer_access = p.bus.SMBReadWord(core::BatteryAddress, 0x00);
    p.Sleep(1);
    const int state_of_charge = p.bus.SMBReadWord(core::BatteryAddress, 0x0D);
    p.Sleep(1);
    if (!((manufacturer_access == -9 && state_of_charge == -9) || state_of_charge == -1)) return true;
  }
  return false;
}

// PEC as asked, then the battery; the exit status so far.
int FindBattery(core::Program& p, bool pec) {
  p.bus.SMBEnablePEC(pec ? 1 : 0);
  p.Sleep(5);
  p.VarPec = pec ? 1 : 0;
  if (BatteryAnswers(p)) return kExitSuccess;
  Complain("no battery answers at SMBus address 0x0B; it may be asleep or discharged, or not connected");
  return kExitNoBattery;
}

std::unique_ptr<smb::Adapter> ChooseAdapter(const CommonOptions& options) {
  if (options.adapter.empty()) return smb::MakeAdapter(std::getenv("SMBUS_ADAPTER"), std::getenv("SMBUS_SIM_REALTIME"));
  try {
    return smb::MakeAdapter(options.adapter.c_str(), std::getenv("SMBUS_SIM_REALTIME"));
  } catch (const smb::AdapterChoiceError& error) {
    // The message names the variable; here the value came from the option.
    std::string message = error.what();
    const std::string variable = "SMBUS_ADAPTER=";
    if (message.rfind(variable, 0) == 0) message = "--adapter " + message.substr(variable.size());
    throw smb::AdapterChoiceError(message);
  }
}

}  // namespace

void OnInterruptAlso(void (*step)()) { interrupted_step = step; }

void Complain(const std::string& message) {
  // What was written before it comes first where both streams meet.
  std::fflush(stdout);
  std::fprintf(stderr, "vantrel: %s\n", message.c_str());
}

int RunSession(const CommonOptions& options, const std::function<int(core::Program&)>& command) {
  std::unique_ptr<smb::Adapter> backend;
  try {
    backend = ChooseAdapter(options);
  } catch (const std::exception& error) {
    Complain(error.what());
    return kExitUsage;
  }
  smb::Adapter* adapter = backend.get();
  std::unique_ptr<smb::record::RecordingAdapter> recording;
  if (const char* record_path = NonEmpty("SMBUS_RECORD")) {
    recording = std::make_unique<smb::record::RecordingAdapter>(*backend, record_path);
    if (!recording->Write()) {
      Complain(std::string("SMBUS_RECORD=") + record_path + ": the file cannot be written");
      return kExitUsage;
    }
    adapter = recording.get();
  }
  smb::Trace trace;
  if (const char* trace_path = NonEmpty("SMBUS_TRACE"); trace_path != nullptr && !trace.Open(trace_path)) {
    Complain(std::string("SMBUS_TRACE=") + trace_path + ": the trace file cannot be written");
    return kExitUsage;
  }
  const std::unique_ptr<platform::Console> process_console = platform::MakeProcessConsole();
  NoClearConsole console(*process_console);
  interrupted_recording = recording.get();
  interrupted_console = &console;
  platform::OnInterrupt(OnInterrupt);

  smb::SMBus bus(*adapter, trace);
  core::Program program(console, bus);
  int code = kExitNoBattery;
  if (!OpenAdapter(program)) {
    Complain("the adapter cannot be opened (open result " + std::to_string(program.status) + ")");
  } else {
    code = FindBattery(program, !options.no_pec);
    try {
      if (code == kExitSuccess) code = command(program);
    } catch (const core::ProgramEnd& end) {
      code = end.code;
    }
    program.bus.SMBCloseDevice();
  }
  console.Finish();
  interrupted_console = nullptr;
  if (recording != nullptr && !recording->Write()) {
    Complain("SMBUS_RECORD: the recording could not be written");
    code = kExitNoBattery;
  }
  return code;
}

}  // namespace cli
