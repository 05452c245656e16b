#include "core/program.h"

#include "platform/system.h"

namespace core {

void Program::Sleep(int milliseconds) {
  bus.trace().Line("sleep %d", milliseconds);
  if (bus.adapter().PacedInRealTime()) {
    con.Flush();
    platform::SleepMilliseconds(milliseconds);
  } else {
    virtual_milliseconds += milliseconds;
  }
}

void Program::Beep(int frequency, int milliseconds) {
  bus.trace().Line("beep %d %d", frequency, milliseconds);
  const bool real_time = bus.adapter().PacedInRealTime();
  con.Beep(frequency, milliseconds, real_time);
  if (!real_time) virtual_milliseconds += milliseconds;
}

void Program::RunRestart() {
  bus.trace().Line("restart %s", NameProg.c_str());
  con.Flush();
  platform::RunRestartScript(NameProg);
}

}  // namespace core
