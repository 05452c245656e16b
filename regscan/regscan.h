#pragma once
// The register test screens: a boot-mode check, a two-digit hexadecimal entry
// and four scans of the registers from the typed start up to 0xFF.

#include "core/program.h"

namespace regscan {

// Sets BootRom to 0 (normal), 1 (boot ROM) or 2 (calibration) when the gauge
// shows one of those patterns, and leaves it as it was otherwise.
void CheckBoot(core::Program& p);

// The typed start register, 0x00 to 0xFF, from the first two characters of
// one input word.
int Enter2digitHEX(core::Program& p);

// Each register read as a word.
void TestReadWord(core::Program& p);
// Each register number written to ManufacturerAccess, then register 0x00 read.
void TestReadWord_00(core::Program& p);
// Each register read as a block.
void TestReadBlock(core::Program& p);
// Each register number written to ManufacturerAccess, then block 0x23 read.
void TestReadBlock_23(core::Program& p);

}  // namespace regscan
