#include "link/cp2112/cp2112_list.h"

#include "link/cp2112/protocol.h"

namespace smb::cp2112 {

Cp2112Listing ListCp2112s(platform::HidTransport& transport) {
  Cp2112Listing listing;
  listing.unavailable = transport.Unavailable();
  if (!listing.unavailable.empty()) return listing;
  for (const platform::HidDeviceInfo& info : transport.Enumerate(kVendorId, kProductId)) {
    FoundCp2112 found{info.serial, 0, ""};
    if (auto device = transport.Open(info.path, found.open_error)) {
      Version version;
      if (Chip(*device).ReadVersion(version) == 0) {
        found.version = version.device_version;
      } else {
        found.open_error = "the chip does not answer its version report";
      }
    }
    listing.chips.push_back(std::move(found));
  }
  return listing;
}

}  // namespace smb::cp2112
