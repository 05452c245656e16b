// The Windows console and system services: colours as console attributes,
// battery text on a console, the console commands through the command
// processor, the program's name and the restart batch file.

#ifdef _WIN32

#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <fstream>

#include "app/program_main.h"
#include "core/discovery.h"
#include "platform/system.h"
#include "platform/windows/windows_console.h"
#include "tests/support/harness.h"
#include "tests/support/screens.h"

namespace {

using namespace testing_support;

std::string FileText(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// Runs only where the test process has a console; scripts/test-windows.sh
// gives it one on a pseudo-terminal and sets VANTREL_EXPECT_CONSOLE there.
TEST(WindowsConsoleColours, EachSegmentTakesItsAttributeAndFinishRestoresTheOldOnes) {
  HANDLE screen = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO before{};
  if (screen == INVALID_HANDLE_VALUE || !GetConsoleScreenBufferInfo(screen, &before)) {
    if (std::getenv("VANTREL_EXPECT_CONSOLE") != nullptr) FAIL() << "no console";
    GTEST_SKIP() << "no console";
  }
  std::FILE* out = _fdopen(_open_osfhandle(reinterpret_cast<intptr_t>(screen), _O_TEXT), "w");
  platform::WindowsConsoleSettings settings;
  settings.out = out;
  settings.attributes = screen;
  settings.out_is_console = true;
  platform::WindowsConsole console(settings);
  console.Print(platform::Red, "AB");
  console.Print(platform::Green, "C");
  const std::uint8_t battery[] = {'D', 0x1b, 0x07};
  console.WriteBatteryText(battery, sizeof battery);
  console.Dashes(platform::Yellow, 1);
  console.Finish();
  WORD attributes[7] = {};
  char text[7] = {};
  DWORD count = 0;
  ASSERT_TRUE(ReadConsoleOutputAttribute(screen, attributes, 7, before.dwCursorPosition, &count));
  ASSERT_TRUE(ReadConsoleOutputCharacterA(screen, text, 7, before.dwCursorPosition, &count));
  EXPECT_EQ(std::string(text, 7), "ABCD..-");
  const WORD expected[7] = {12, 12, 10, 10, 10, 10, 14};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(attributes[i], expected[i]) << "cell " << i;
  CONSOLE_SCREEN_BUFFER_INFO after{};
  ASSERT_TRUE(GetConsoleScreenBufferInfo(screen, &after));
  EXPECT_EQ(after.wAttributes, before.wAttributes);
  std::fclose(out);
}

TEST(WindowsConsoleBatteryText, ControlBytesReachOnlyRedirectedOutput) {
  const std::uint8_t bytes[] = {'b', 'q', 0x1b, '[', '2', 'J', 0x07, 0x7f, 0xc3, 'x'};
  for (const bool on_console : {true, false}) {
    std::FILE* out = std::tmpfile();
    platform::WindowsConsoleSettings settings;
    settings.out = out;
    settings.out_is_console = on_console;
    platform::WindowsConsole console(settings);
    console.WriteBatteryText(bytes, sizeof bytes);
    console.Flush();
    std::rewind(out);
    char written[32] = {};
    const std::size_t count = std::fread(written, 1, sizeof written, out);
    std::fclose(out);
    EXPECT_EQ(std::string(written, count),
              on_console ? std::string("bq.[2J...x") : std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
  }
}

TEST(WindowsConsoleCommands, TextBeforeAPauseIsWrittenBeforeTheCommandProcessorsText) {
  TestProgram t("{}");
  t.p().con.Print(platform::Red, "before");
  t.p().con.Pause();
  t.p().con.Print(platform::Cyan, "after\n");
  t.p().con.ClearScreen();
  EXPECT_EQ(t.Output(), std::string(R) + "before" + PauseText() + C + "after\n" + CLS);
}

TEST(WindowsProgramName, IsTheExecutablesFileNameWithExtension) {
  const std::string path = platform::ExecutablePath();
  ASSERT_GE(path.size(), 3u);
  EXPECT_EQ(path.substr(1, 2), ":\\") << path;
  EXPECT_EQ(app::FileNameOfPath(path), "vantrel_tests.exe");
}

std::string Profile(const std::string& open, const std::string& id) {
  return R"({"adapter": {"open": )" + open + R"(, "interface_id": )" + id + "}}";
}

// The batch file records its arguments, each in brackets.
void WriteRestartBatchFile() { std::ofstream("RestartProgramm.bat") << "@>>restarts.txt echo [%1][%2]\r\n"; }

TEST(WindowsRestart, TheBatchFileGetsTheNameAsItsOnlyArgument) {
  TestProgram t(Profile("-1010", "1"));
  t.p().NameProg = "my prog & x.exe";
  WriteRestartBatchFile();
  std::ofstream("CountSRCHadp.bin", std::ios::binary) << '\x01' << '\x00';
  try {
    core::CheckDevice(t.p());
    ADD_FAILURE() << "a spent budget ends the program";
  } catch (const core::ProgramEnd& end) {
    EXPECT_EQ(end.code, 0);
  }
  EXPECT_EQ(FileText("restarts.txt"), "[\"my prog & x.exe\"][]\r\n");
  EXPECT_EQ(t.TraceText(),
            "open 04b4 8613 -> -1010\nid -> 1\nbeep 380 500\nsleep 1000\nrestart my prog & x.exe\nbeep 380 500\n");
  EXPECT_EQ(t.Output(), AttemptScreen() + FailurePassScreen("1") + FailurePassScreen("0"));
}

TEST(WindowsRestart, TheCommandIsCutTo249Characters) {
  TestProgram t("{}");
  t.p().NameProg = std::string(249, 'n');
  WriteRestartBatchFile();
  t.p().RunRestart();
  // "RestartProgramm.bat " leaves 229 characters of the name.
  EXPECT_EQ(FileText("restarts.txt"), "[" + std::string(229, 'n') + "][]\r\n");
}

TEST(WindowsBudgetFile, ABudgetFileThatCannotBeWrittenGivesMinus2) {
  TestProgram t("{}");
  // A directory of that name can be neither read nor written as a file.
  std::filesystem::create_directory("CountSRCHadp.bin");
  EXPECT_EQ(core::CountSRCHadp(t.p(), 10), -2);
  EXPECT_EQ(t.Output(), FileErrorBlock() + C + "      Error opening file CountSR\xD0\xA1Hadp.bin\n" + R);
}

}  // namespace

#endif
