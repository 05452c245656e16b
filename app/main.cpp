#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "app/program_main.h"
#include "link/adapter_choice.h"
#include "link/smbus.h"
#include "link/trace.h"
#include "platform/console.h"

int main() {
  std::unique_ptr<smb::Adapter> adapter;
  try {
    adapter = smb::MakeAdapter(std::getenv("SMBUS_ADAPTER"), std::getenv("SMBUS_SIM_REALTIME"));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "vantrel: %s\n", error.what());
    return 2;
  }
  smb::Trace trace;
  const char* trace_path = std::getenv("SMBUS_TRACE");
  if (trace_path != nullptr && trace_path[0] != '\0' && !trace.Open(trace_path)) {
    std::fprintf(stderr, "vantrel: SMBUS_TRACE=%s: the trace file cannot be written\n", trace_path);
    return 2;
  }
  const std::unique_ptr<platform::Console> console = platform::MakeProcessConsole();
  smb::SMBus bus(*adapter, trace);
  core::Program program(*console, bus);
  int code = 0;
  try {
    app::RunProgram(program);
  } catch (const core::ProgramEnd& end) {
    code = end.code;
  }
  console->Finish();
  return code;
}
