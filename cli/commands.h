#pragma once
// The commands that read the battery once: detect, report and read. Each
// runs on an open adapter with a battery that answers (see session.h) and
// returns the exit status.

#include <string>

#include "core/program.h"

namespace cli {

// Device name, manufacturer, device type, family and menu choice.
int Detect(core::Program& p);

// One report, as the menu choice prints it; "auto" picks the family as
// Detect finds it.
int Report(core::Program& p, const std::string& family);

// The Smart Battery data decoded, as text or one JSON object.
int Read(core::Program& p, bool json);

}  // namespace cli
