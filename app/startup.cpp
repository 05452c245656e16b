#include "app/program_main.h"
#include "platform/system.h"

namespace app {

using namespace core;

std::string FileNameOfPath(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  // A drive letter without a directory ("C:name.exe") is not part of the name either.
  if (slash == std::string::npos && name.size() >= 2 && name[1] == ':') name = name.substr(2);
  if (name.size() > 249) name.resize(249);
  return name;
}

void GetMyNameExe(Program& p) { p.NameProg = FileNameOfPath(platform::ExecutablePath()); }

void MenuCycle(Program& p);

void RunProgram(Program& p) {
  GetMyNameExe(p);
  p.con.ClearScreen();
  p.con.Print(Cyan, " Program run NAME = ");
  p.con.Print(Yellow, "%s", p.NameProg.c_str());
  p.con.NewLine();
  p.con.PlaceWindow();
  for (;;) MenuCycle(p);
}

}  // namespace app
