#include "cli/session.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/no_clear_console.h"
#include "core/discovery.h"
#include "core/session.h"

namespace cli {

namespace {

// One open attempt, as adapter discovery judges it, but no search.
bool OpenAdapter(core::Program& p) {
  p.status = p.bus.SMBOpenDeviceVIDPID(smb::kAdapterVendorId, smb::kAdapterProductId);
  if (p.status == smb::kOpenNoAdapter) return false;
  const int id = p.bus.SMBInterfaceID();
  if (p.status == smb::kOpenReopen && id == smb::kAdapterInterfaceId) {
    p.bus.SMBCloseDevice();
    p.status = p.bus.SMBOpenDeviceVIDPID(smb::kAdapterVendorId, smb::kAdapterProductId);
  }
  return p.status > 0;
}

// The presence probe a few times within a second: a pack that sleeps wakes on
// the first transfers.
bool BatteryAnswers(core::Program& p) {
  constexpr int kAttempts = 3;
  constexpr int kPauseMs = 300;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) p.Sleep(kPauseMs);
    if (core::ProbeBattery(p).Answered()) return true;
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

}  // namespace

void Complain(const std::string& message) {
  // What was written before it comes first where both streams meet.
  std::fflush(stdout);
  std::fprintf(stderr, "vantrel: %s\n", message.c_str());
}

int Finished(int code) {
  errno = 0;
  if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return code;
  const int error = errno;
  if (code != kExitSuccess) return code;  // the command has said what went wrong
  // An earlier write that failed may have left no reason behind.
  std::fprintf(stderr, "vantrel: standard output: writing failed%s%s\n", error != 0 ? ": " : "",
               error != 0 ? std::strerror(error) : "");
  return kExitNoBattery;
}

int RunSession(const CommonOptions& options, const std::function<int(core::Program&)>& command,
               volatile std::sig_atomic_t* stop_on_ctrl_c) {
  core::SessionSettings settings = core::SettingsFromEnvironment();
  if (!options.adapter.empty()) {
    settings.adapter = options.adapter;
    settings.adapter_origin = "--adapter ";
  }
  settings.stop_on_ctrl_c = stop_on_ctrl_c;
  return core::Session::Run(settings, [&](core::Session& session) {
    NoClearConsole console(session.console());
    core::Program program(console, session.bus());
    if (!OpenAdapter(program)) {
      Complain("the adapter cannot be opened (open result " + std::to_string(program.status) + ")");
      return kExitNoBattery;
    }
    int code = FindBattery(program, !options.no_pec);
    try {
      if (code == kExitSuccess) code = command(program);
    } catch (const core::ProgramEnd& end) {
      code = end.code;
    }
    program.bus.SMBCloseDevice();
    return code;
  });
}

}  // namespace cli
