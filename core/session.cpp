#include "core/session.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "link/adapter_choice.h"
#include "platform/common/printable.h"
#include "platform/system.h"

namespace core {

namespace {

std::string NonEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

void Say(const std::string& message) { platform::WriteToStandardError("vantrel: " + message + "\n"); }

// One line from pieces made beforehand; safe in an interrupt handler.
void SayFailure(const std::string& what, int error_number) {
  platform::WriteToStandardError(what);
  platform::WriteToStandardError(platform::ErrorText(error_number));
  platform::WriteToStandardError("\n");
}

void (*volatile interrupt_step)() = nullptr;

}  // namespace

void OnInterruptAlso(void (*step)()) { interrupt_step = step; }

Session* Session::active_ = nullptr;

int ShellStatus(int signal_number) { return 128 + signal_number; }

SessionSettings SettingsFromEnvironment() {
  SessionSettings settings;
  if (const char* adapter = std::getenv("SMBUS_ADAPTER")) settings.adapter = adapter;
  const char* realtime = std::getenv("SMBUS_SIM_REALTIME");
  settings.sim_realtime = realtime != nullptr && std::strcmp(realtime, "1") == 0;
  settings.record_path = NonEmpty("SMBUS_RECORD");
  settings.trace_path = NonEmpty("SMBUS_TRACE");
  return settings;
}

int Session::Run(const SessionSettings& settings, const std::function<int(Session&)>& body) {
  platform::OpenClosedStandardStreams();
  Session session(settings);
  if (!session.Start()) return session.Abandon();
  int code = 1;
  try {
    code = body(session);
  } catch (const std::exception& error) {
    Say(error.what());
  }
  code = session.End(code, false);
  return session.Abandon(code);
}

int Session::Abandon(int code) {
  // An interrupt from here on finds no session, whose members are about to go.
  const platform::InterruptDeferral quiet;
  if (late_signal_ != 0) code = settings_.interrupt_status(late_signal_);
  active_ = nullptr;
  return code;
}

// Every output file is checked before any is truncated: a run that cannot
// start leaves an earlier recording and trace as they were.
bool Session::Start() {
  // The handler first: an interrupt while an output file is prepared removes it.
  active_ = this;
  platform::OnInterrupt(OnInterrupt);
  try {
    backend_ = smb::MakeAdapter(settings_.adapter ? settings_.adapter->c_str() : nullptr,
                                settings_.sim_realtime ? "1" : nullptr);
  } catch (const std::exception& error) {
    std::string message = error.what();
    const std::string variable = "SMBUS_ADAPTER=";
    if (message.rfind(variable, 0) == 0) message = settings_.adapter_origin + message.substr(variable.size());
    Say(message);
    return false;
  }
  adapter_ = backend_.get();
  if (!settings_.record_path.empty()) {
    const std::string name = "SMBUS_RECORD=" + platform::Printable(settings_.record_path, 200);
    if (!record_file_.Prepare(settings_.record_path)) {
      Say(name + ": the file cannot be written: " + platform::ErrorText(record_file_.error()));
      return false;
    }
    record_failure_ = "vantrel: " + name + ": the recording could not be written: ";
    recording_ = std::make_unique<smb::record::RecordingAdapter>(*backend_);
    adapter_ = recording_.get();
  }
  if (!settings_.trace_path.empty()) {
    const std::string name = "SMBUS_TRACE=" + platform::Printable(settings_.trace_path, 200);
    if (!trace_.Open(settings_.trace_path)) {
      const int error = errno;
      Say(name + ": the trace file cannot be written: " + platform::ErrorText(error));
      return false;
    }
    trace_failure_ = "vantrel: " + name + ": the trace could not be written: ";
  }
  trace_.Start();
  console_ = platform::MakeProcessConsole();
  bus_ = std::make_unique<smb::SMBus>(*adapter_, trace_);
  return true;
}

int Session::End(int code, bool interrupted) {
  ending_ = 1;
  if (console_ == nullptr) {
    // Interrupted while starting: nothing shown yet, only a file to remove.
    record_file_.Discard();
    return code;
  }
  if (interrupted) {
    console_->FinishFromSignalHandler();
  } else {
    console_->Finish();
    trace_.Close();
  }
  bool written = true;
  if (recording_ != nullptr) {
    recording_->WriteTo(record_file_);
    if (!record_file_.Commit()) {
      SayFailure(record_failure_, record_file_.error());
      written = false;
    }
  }
  if (trace_.error() != 0) {
    SayFailure(trace_failure_, trace_.error());
    written = false;
  }
  // Said again at the end: the screens since have cleared it away.
  if (const char* reason = adapter_->OpenFailure(); reason[0] != '\0') {
    platform::WriteToStandardError("vantrel: ");
    platform::WriteToStandardError(reason);
    platform::WriteToStandardError("\n");
  }
  if (!interrupted && late_signal_ != 0) return settings_.interrupt_status(late_signal_);
  return code == 0 && !written ? 1 : code;
}

// An interrupt while the run ends normally lets it end, with the status the
// interrupt gives (a standard output that broke during the last writes).
void Session::OnInterrupt(int signal_number) {
  Session* session = active_;
  if (session == nullptr) platform::EndProcessNow(ShellStatus(signal_number));
  if (signal_number == SIGINT && session->settings_.stop_on_ctrl_c != nullptr) {
    *session->settings_.stop_on_ctrl_c = 1;
    return;
  }
  if (session->ending_ != 0) {
    session->late_signal_ = signal_number;
    return;
  }
  if (void (*step)() = interrupt_step; step != nullptr) step();
  platform::EndProcessNow(session->End(session->settings_.interrupt_status(signal_number), true));
}

}  // namespace core
