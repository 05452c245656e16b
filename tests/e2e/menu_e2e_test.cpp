// The real binary on the simulated battery: start-up, menu and its choices.

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/harness.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;

class MenuEndToEnd : public ::testing::Test {
 protected:
  RunResult Run(const std::string& input, std::map<std::string, std::string> env = {}) {
    env.emplace("CLICOLOR_FORCE", "1");
    return RunBinary(dir_.path(), env, input);
  }
  void WriteBudget(std::initializer_list<unsigned char> bytes) {
    std::ofstream file(dir_.path() / "CountSRCHadp.bin", std::ios::binary);
    for (unsigned char b : bytes) file.put(static_cast<char>(b));
  }
  int Budget() {
    std::ifstream file(dir_.path() / "CountSRCHadp.bin", std::ios::binary);
    return file.get();
  }
  ScratchDirectory dir_;
};

std::string Cycle() { return DefaultBatteryCycle(); }

const char* const kCycleTrace = kDefaultBatteryCycleTrace;

TEST_F(MenuEndToEnd, StartupMenuAndExitByteForByte) {
  WriteBudget({10, 0});
  const RunResult r = Run("0");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, StartupScreen(kProgramName) + Cycle() + W + RESET);
  EXPECT_EQ(r.trace, std::string(kCycleTrace) + "close\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(MenuEndToEnd, FirstRunCreatesTheBudgetFileWithTen) {
  const RunResult r = Run("0");
  EXPECT_EQ(r.out, StartupScreen(kProgramName) + AttemptScreen() + SuccessScreen("1.2.3") + FileErrorBlock() +
                       CLS + MenuScreen("0055") + W + RESET);
  EXPECT_EQ(Budget(), 10);
}

TEST_F(MenuEndToEnd, PecChoicesConfirmAndTheNextMenuStillShowsPecOne) {
  WriteBudget({10, 0});
  const RunResult r = Run("65");
  const std::string off = CLS + M + Dashes(40) + "\n" + NL + C + "        SMB " + Y + "Enable-PEC " + R +
                          "OFF " + W + "DONE !!!\n" + NL + M + Dashes(40) + "\n" + NL + R + PauseText();
  const std::string on = CLS + M + Dashes(40) + "\n" + NL + C + "        SMB " + Y + "Enable-PEC " + G +
                         "ON " + W + "DONE !!!\n" + NL + M + Dashes(40) + "\n" + NL + R + PauseText();
  // End of input after "5" ends the program like "0".
  EXPECT_EQ(r.out, StartupScreen(kProgramName) + Cycle() + off + Cycle() + on + Cycle() + W + RESET);
  EXPECT_EQ(r.trace, std::string(kCycleTrace) + "pec 0\nsleep 5\n" + kCycleTrace + "pec 1\nsleep 5\n" +
                         kCycleTrace + "close\n");
  EXPECT_EQ(r.exit_code, 0);
}

TEST_F(MenuEndToEnd, SeveralCharactersBeforeEnterRunOneAfterAnotherThenTheLineEnd) {
  WriteBudget({10, 0});
  const RunResult r = Run("56\n");
  const std::string pec_on_off = std::string(G) + "ON " + W;
  const std::string pec_off = std::string(R) + "OFF " + W;
  const std::string out = r.out;
  // Four menus: before "5", before "6", before the line end, and before end of input.
  std::size_t menus = 0;
  for (std::size_t at = out.find("YOUR CHOICE: "); at != std::string::npos; at = out.find("YOUR CHOICE: ", at + 1)) {
    ++menus;
  }
  EXPECT_EQ(menus, 4u);
  EXPECT_LT(out.find(pec_on_off + "DONE"), out.find(pec_off + "DONE"));
  std::size_t pauses = 0;
  for (std::size_t at = out.find(PauseText()); at != std::string::npos; at = out.find(PauseText(), at + 1)) ++pauses;
  EXPECT_EQ(pauses, 2u);
  EXPECT_EQ(r.exit_code, 0);
}

TEST_F(MenuEndToEnd, CharactersWithoutActionRedrawAtOnce) {
  WriteBudget({10, 0});
  const RunResult r = Run("7a\n");
  EXPECT_EQ(r.out, StartupScreen(kProgramName) + Cycle() + Cycle() + Cycle() + Cycle() + W + RESET);
}

TEST_F(MenuEndToEnd, NoColourWithoutForceOrWithNoColor) {
  WriteBudget({10, 0});
  const RunResult plain = RunBinary(dir_.path(), {}, "0");
  EXPECT_EQ(plain.out.find('\x1b'), std::string::npos);
  const std::string start = CLS + " Program run NAME = " + kProgramName;
  EXPECT_EQ(plain.out.substr(0, start.size()), start);
  const RunResult no_color = RunBinary(dir_.path(), {{"CLICOLOR_FORCE", "1"}, {"NO_COLOR", "1"}}, "0");
  EXPECT_EQ(no_color.out, plain.out);
  const RunResult zero = RunBinary(dir_.path(), {{"CLICOLOR_FORCE", "0"}}, "0");
  EXPECT_EQ(zero.out, plain.out);
}

}  // namespace
