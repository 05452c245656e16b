#include "app/program_main.h"
#include "app/session.h"

int main() {
  return app::Session::Run(app::SettingsFromEnvironment(), [](app::Session& session) {
    core::Program program(session.console(), session.bus());
    try {
      app::RunProgram(program);
    } catch (const core::ProgramEnd& end) {
      return end.code;
    }
    return 0;
  });
}
