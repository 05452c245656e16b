#pragma once
// The CP2112s plugged into this machine, with their serials and versions.

#include <string>
#include <vector>

#include "platform/hid.h"

namespace smb::cp2112 {

struct FoundCp2112 {
  std::string serial;
  int version = 0;          // 0 when it cannot be read
  std::string open_error;   // why not
};

struct Cp2112Listing {
  std::string unavailable;  // why HID devices cannot be listed at all
  std::vector<FoundCp2112> chips;
};

Cp2112Listing ListCp2112s(platform::HidTransport& transport);

}  // namespace smb::cp2112
