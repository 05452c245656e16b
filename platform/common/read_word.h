#pragma once
// Word input shared by the consoles.

#include <cstdio>
#include <string>

namespace platform {

// Leading white space skipped, the word consumed up to the next white space,
// which stays for the next read (as with scanf). Empty at end of input.
std::string ReadWordFrom(std::FILE* in);

}  // namespace platform
