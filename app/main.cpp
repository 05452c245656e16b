#include "app/program_main.h"
#include "cli/command_line.h"
#include "core/session.h"

int main(int argc, char** argv) {
  // With arguments: one command of the command line, then exit.
  if (argc > 1) return cli::RunCommandLine(argc, argv);
  return core::Session::Run(core::SettingsFromEnvironment(), [](core::Session& session) {
    core::Program program(session.console(), session.bus());
    try {
      app::RunProgram(program);
    } catch (const core::ProgramEnd& end) {
      return end.code;
    }
    return 0;
  });
}
