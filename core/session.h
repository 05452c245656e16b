#pragma once
// Start-up and tear-down of a run, shared by every front end: the standard
// streams, the adapter (SMBUS_ADAPTER), the recording (SMBUS_RECORD), the bus
// trace (SMBUS_TRACE), the console, what an interrupt does, and the exit
// status.

#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/record/recording_adapter.h"
#include "link/smbus.h"
#include "link/trace.h"
#include "platform/console.h"
#include "platform/files.h"

namespace core {

// 128 plus the signal's number, as a shell shows a program ended by a signal.
int ShellStatus(int signal_number);

struct SessionSettings {
  std::optional<std::string> adapter;  // the SMBUS_ADAPTER value; none: the default battery
  bool sim_realtime = false;           // SMBUS_SIM_REALTIME=1
  std::string record_path;             // empty: no recording
  std::string trace_path;              // empty: no trace
  // The exit status of a run that an interrupt ends, after the console is put
  // back, the recording written and the messages said.
  int (*interrupt_status)(int signal_number) = ShellStatus;
  // Where Ctrl-C only asks the run to stop in its own time (a log that keeps
  // its complete rows): the flag is set and the run goes on. Null: Ctrl-C ends
  // the run at once, as the other interrupts do.
  volatile std::sig_atomic_t* stop_on_ctrl_c = nullptr;
  // What the adapter's value is called in messages: the variable, or the
  // command line's option that overrides it.
  std::string adapter_origin = "SMBUS_ADAPTER=";
};

// The settings as the environment gives them.
SessionSettings SettingsFromEnvironment();

// An async-signal-safe step that an interrupt ending the run takes first,
// such as removing an output file half written; null for none.
void OnInterruptAlso(void (*step)());

class Session {
 public:
  // Starts a run, calls `body` with it and ends the run. Returns the exit
  // status: 2 when the run cannot start (said in one line on standard error,
  // before any output file is touched), otherwise body's status, made 1 when
  // the recording or the trace could not be written.
  static int Run(const SessionSettings& settings, const std::function<int(Session&)>& body);

  platform::Console& console() { return *console_; }
  smb::SMBus& bus() { return *bus_; }

 private:
  explicit Session(const SessionSettings& settings) : settings_(settings) {}
  bool Start();
  // The session let go of, with interrupts held back; `code` returned, or the
  // status of an interrupt that came meanwhile.
  int Abandon(int code = 2);
  // Everything here is safe in an interrupt handler when `interrupted` is set.
  int End(int code, bool interrupted);
  static void OnInterrupt(int signal_number);

  SessionSettings settings_;
  std::unique_ptr<smb::Adapter> backend_;
  std::unique_ptr<smb::record::RecordingAdapter> recording_;
  smb::Adapter* adapter_ = nullptr;
  platform::ReplacingFile record_file_;
  smb::Trace trace_;
  std::unique_ptr<platform::Console> console_;
  std::unique_ptr<smb::SMBus> bus_;
  // Made at start-up: an interrupt handler cannot build them.
  std::string record_failure_;
  std::string trace_failure_;
  volatile sig_atomic_t ending_ = 0;
  volatile sig_atomic_t late_signal_ = 0;  // an interrupt that came while the run ended

  static Session* active_;
};

}  // namespace core
