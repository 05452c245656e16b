// The real binary on a pseudo-terminal, as a user runs it: Ctrl-C, SIGTERM or
// SIGHUP at any point leave the terminal as it was found, and TERM=dumb gets
// no escape sequences.

#ifndef _WIN32

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>

#include "tests/support/harness.h"

namespace {

using namespace testing_support;

// The program on a terminal of its own; the test is the user at the keyboard.
class OnTerminal {
 public:
  explicit OnTerminal(std::map<std::string, std::string> env) {
    int terminal = -1;
    if (openpty(&keyboard_, &terminal, nullptr, nullptr, nullptr) != 0) return;
    fcntl(keyboard_, F_SETFD, FD_CLOEXEC);
    tcgetattr(keyboard_, &found_);
    std::ofstream(dir_.path() / "CountSRCHadp.bin", std::ios::binary) << '\x0a' << '\x00';
    env.emplace("TERM", "xterm");
    pid_ = StartBinary(dir_.path(), env, terminal, terminal, terminal);
    close(terminal);
  }
  ~OnTerminal() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      ExitStatus(pid_);
    }
    if (keyboard_ >= 0) close(keyboard_);
  }

  // Reads the screen until `text` shows; false when the program ended first.
  bool WaitFor(const std::string& text) {
    while (shown_.find(text) == std::string::npos) {
      if (!ReadSome()) return false;
    }
    return true;
  }
  // Waits until the program reads single keys without echo (the pause), so
  // that a key typed next is not echoed by a terminal still in line mode.
  bool WaitForKeyMode() const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((LineModes() & ECHO) != 0) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      sched_yield();
    }
    return true;
  }
  void Type(const std::string& keys) { ASSERT_EQ(write(keyboard_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size())); }
  void Signal(int signal_number) { kill(pid_, signal_number); }
  // The exit status, once the program has written all it writes.
  int End() {
    while (ReadSome()) {
    }
    const int status = ExitStatus(pid_);
    pid_ = -1;
    return status;
  }
  const std::string& shown() const { return shown_; }
  // Echo and line mode now, against as they were found.
  tcflag_t LineModes() const {
    termios now{};
    tcgetattr(keyboard_, &now);
    return now.c_lflag & (ICANON | ECHO);
  }
  tcflag_t FoundLineModes() const { return found_.c_lflag & (ICANON | ECHO); }

 private:
  bool ReadSome() {
    pollfd ready{keyboard_, POLLIN, 0};
    if (poll(&ready, 1, 20000) <= 0) return false;  // a hung program fails the test, it does not hang it
    char bytes[4096];
    const ssize_t got = read(keyboard_, bytes, sizeof bytes);
    if (got <= 0) return false;  // the program's end closes the terminal
    shown_.append(bytes, static_cast<std::size_t>(got));
    return true;
  }

  ScratchDirectory dir_;
  int keyboard_ = -1;
  int pid_ = -1;
  termios found_{};
  std::string shown_;
};

struct Interruption {
  const char* where;
  const char* keys;      // typed first
  const char* wait_for;  // on the screen when the interrupt comes
  int signal_number;     // 0: Ctrl-C typed at the keyboard
  int status;
  const char* screen_end;  // the last text, then the colour reset and a fresh line
};

class InterruptedOnTerminal : public ::testing::TestWithParam<Interruption> {};

TEST_P(InterruptedOnTerminal, LeavesTheTerminalAsFoundWithTheShellsStatus) {
  const Interruption& i = GetParam();
  std::map<std::string, std::string> env;
  if (std::string(i.where) == "scan") {
    env = {{"SMBUS_ADAPTER", std::string("libsmbusb:") + FAKE_VENDOR_LIBRARY}, {"FAKE_SMBUSB_INTERRUPT_AT", "40"}};
  }
  OnTerminal user(env);
  user.Type(i.keys);
  ASSERT_TRUE(user.WaitFor(i.wait_for)) << user.shown();
  if (std::string(i.where) == "pause") {
    ASSERT_TRUE(user.WaitForKeyMode());
  }
  if (i.signal_number == 0) {
    user.Type("\x03");
  } else if (i.signal_number > 0) {
    user.Signal(i.signal_number);
  }
  EXPECT_EQ(user.End(), i.status);
  EXPECT_EQ(user.LineModes(), user.FoundLineModes());
  EXPECT_EQ(user.LineModes(), static_cast<tcflag_t>(ICANON | ECHO));
  const std::string end = std::string(i.screen_end) + RESET + "\r\n";
  ASSERT_GE(user.shown().size(), end.size());
  EXPECT_EQ(user.shown().substr(user.shown().size() - end.size()), end);
}

INSTANTIATE_TEST_SUITE_P(
    AnyMoment, InterruptedOnTerminal,
    ::testing::Values(
        Interruption{"pause", "5\n", "Press any key to continue . . . ", 0, 130, "Press any key to continue . . . "},
        Interruption{"menu", "", "YOUR CHOICE: ", SIGTERM, 143, "YOUR CHOICE: \x1b[97m"},
        Interruption{"hex entry", "Z\n", "Enter your value : ", SIGHUP, 129, "Enter your value : \x1b[97m"},
        // The read of register 0x40 interrupts the scan itself; 0x3F of the
        // default battery holds 3808.
        Interruption{"scan", "Z\n00\n", "Test ", -1, 130, "0x3f = \x1b[93m0EE0\r\n\r\n"}),
    [](const auto& test) {
      std::string name = test.param.where;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

struct TerminalKind {
  const char* term;
  const char* clicolor_force;
  bool colour;
  const char* clear_screen;
};

class TerminalKinds : public ::testing::TestWithParam<TerminalKind> {};

TEST_P(TerminalKinds, DumbTerminalsGetNoEscapeSequencesUnlessColourIsForced) {
  std::map<std::string, std::string> env = {{"TERM", GetParam().term}};
  if (GetParam().clicolor_force != nullptr) env["CLICOLOR_FORCE"] = GetParam().clicolor_force;
  OnTerminal user(env);
  ASSERT_TRUE(user.WaitFor("YOUR CHOICE: ")) << user.shown();
  user.Type("0\n");
  EXPECT_EQ(user.End(), 0);
  const std::string& shown = user.shown();
  EXPECT_EQ(shown.rfind(GetParam().clear_screen, 0), 0u) << shown.substr(0, 20);
  EXPECT_EQ(shown.find("\x1b[3J"), std::string::npos) << "the scrollback is erased";
  EXPECT_EQ(shown.find(G) != std::string::npos, GetParam().colour);
  if (!GetParam().colour) {
    EXPECT_EQ(shown.find('\x1b'), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Terms, TerminalKinds,
                         ::testing::Values(TerminalKind{"xterm", nullptr, true, "\x1b[H\x1b[2J"},
                                           TerminalKind{"dumb", nullptr, false, "\f"},
                                           TerminalKind{"dumb", "1", true, "\f"}));

}  // namespace

#endif
