// The profile parser, which also reads recordings: any text is either a
// profile or one ProfileError whose message is a short printable line.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "link/sim/profile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    smb::sim::ParseProfile(std::string(reinterpret_cast<const char*>(data), size), "fuzz.json");
  } catch (const smb::sim::ProfileError& error) {
    const std::string message = error.what();
    if (message.size() > 300) std::abort();
    for (const char c : message) {
      if (c < 0x20 || c > 0x7E) std::abort();
    }
  }
  return 0;
}
