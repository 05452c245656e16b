#pragma once
// dump: a read-only backup of a bq40z's data flash (0x4000 to 0x5FFF) into
// an 8 KiB image and its description FILE.json.

#include <string>

#include "core/program.h"

namespace cli {

struct DumpOptions {
  std::string output;  // the image's path
  std::string family = "auto";
  bool yes = false;
};

// 0 when both files were written; 1 when the gauge is refused (not a bq40z,
// sealed), a row cannot be read, or the files cannot be written; 2 when
// there was no one to confirm.
int Dump(core::Program& p, const DumpOptions& options);

}  // namespace cli
