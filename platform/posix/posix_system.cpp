#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <cerrno>
#include <ctime>
#include <string>

#include "platform/system.h"

namespace platform {

namespace {

constexpr int kInterruptSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

sigset_t InterruptSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal_number : kInterruptSignals) sigaddset(&set, signal_number);
  return set;
}

long long Nanoseconds(const timespec& t) { return t.tv_sec * 1000000000LL + t.tv_nsec; }

timespec Timespec(long long nanoseconds) {
  return {static_cast<time_t>(nanoseconds / 1000000000LL), static_cast<long>(nanoseconds % 1000000000LL)};
}

long long MonotonicNow() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return Nanoseconds(now);
}

// A sleep wakes this much after its deadline at worst on the machines seen
// (a virtual machine's timer); the last stretch is waited out on the clock.
constexpr long long kWakeLateNs = 100000;

}  // namespace

// The gauge needs every pause in full, so a sleep ends at an absolute
// deadline (an interrupted sleep does not start again from zero). A sleep
// that overran by 50 to 150 us (the timer slack, taken down to the minimum,
// and a virtual machine's timer) made a report of dozens of sleeps several
// milliseconds late, so it sleeps to just before the deadline and watches
// the clock for the rest: never shorter, and about 2 % of the time spent
// awake.
void SleepMilliseconds(int milliseconds) {
  if (milliseconds <= 0) return;
#ifdef __linux__
  [[maybe_unused]] static const bool precise = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
#endif
  const long long deadline = MonotonicNow() + milliseconds * 1000000LL;
  const timespec wake = Timespec(deadline - kWakeLateNs);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
  }
  while (MonotonicNow() < deadline) {
  }
}

std::string ExecutablePath() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  return std::string(path, static_cast<std::size_t>(length));
}

// The name goes to the script as one argument, never through a shell's parser.
// The child must not run this program's interrupt handler before it becomes
// the shell: the interrupts stay blocked until it has its default handlers.
void RunRestartScript(const std::string& program_name) {
  const sigset_t interrupts = InterruptSignals();
  sigset_t before;
  sigprocmask(SIG_BLOCK, &interrupts, &before);
  const pid_t child = fork();
  if (child == 0) {
    for (const int signal_number : kInterruptSignals) {
      struct sigaction current {};
      sigaction(signal_number, nullptr, &current);
      if (current.sa_handler != SIG_IGN) signal(signal_number, SIG_DFL);
    }
    sigprocmask(SIG_SETMASK, &before, nullptr);
    execl("/bin/sh", "sh", "RestartProgramm.sh", program_name.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  sigprocmask(SIG_SETMASK, &before, nullptr);
  if (child < 0) return;
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

namespace {

void (*interrupt_handler)(int) = nullptr;
volatile sig_atomic_t deferral_depth = 0;
volatile sig_atomic_t pending_signal = 0;

extern "C" void OnSignal(int signal_number) {
  if (deferral_depth > 0) {
    pending_signal = signal_number;
    return;
  }
  interrupt_handler(signal_number);
}

// A deferred interrupt is handled as a signal would be: with the others blocked.
void HandlePendingInterrupt() {
  const sigset_t interrupts = InterruptSignals();
  sigset_t before;
  sigprocmask(SIG_BLOCK, &interrupts, &before);
  const int signal_number = pending_signal;
  pending_signal = 0;
  if (signal_number != 0) interrupt_handler(signal_number);
  sigprocmask(SIG_SETMASK, &before, nullptr);
}

}  // namespace

void OnInterrupt(void (*handler)(int signal_number)) {
  interrupt_handler = handler;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  action.sa_mask = InterruptSignals();
  // No SA_RESTART: a write that blocks inside a deferral (a stalled pipe or
  // terminal) gives way, so the deferred interrupt is handled at once.
  action.sa_flags = 0;
  for (const int signal_number : kInterruptSignals) {
    struct sigaction inherited {};
    sigaction(signal_number, nullptr, &inherited);
    const bool kept_ignored = signal_number == SIGINT || signal_number == SIGHUP;
    if (kept_ignored && inherited.sa_handler == SIG_IGN) continue;
    sigaction(signal_number, &action, nullptr);
  }
}

InterruptDeferral::InterruptDeferral() { deferral_depth = deferral_depth + 1; }

InterruptDeferral::~InterruptDeferral() {
  deferral_depth = deferral_depth - 1;
  if (deferral_depth == 0 && pending_signal != 0) HandlePendingInterrupt();
}

void EndProcessNow(int code) { _exit(code); }

}  // namespace platform
