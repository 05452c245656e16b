#pragma once
// Start-up and the menu cycle.

#include <string>

#include "core/program.h"

namespace app {

// The file name with extension of a full path, cut to 249 characters.
std::string FileNameOfPath(const std::string& path);

// Fills NameProg from the running executable's path.
void GetMyNameExe(core::Program& p);

// Start-up, then menu cycles until the user exits; throws core::ProgramEnd.
void RunProgram(core::Program& p);

}  // namespace app
