#pragma once
// vantrel with arguments: one command, then exit. Without arguments the
// program is the interactive program (app/).

namespace cli {

// Parses the arguments, runs the command and returns the exit status.
int RunCommandLine(int argc, char** argv);

}  // namespace cli
