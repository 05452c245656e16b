#pragma once
// A CP2112 as AN495 describes it, behind the HID transport interface, with
// the simulated gauge as the battery at address 0x0B. It answers reports at
// once (no real time passes) and counts every report that crosses the link.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "link/sim/sim_adapter.h"
#include "platform/hid.h"

namespace testing_support {

struct FakeCp2112 {
  std::string serial = "0001A2B3";
  int device_version = 2;
  bool gauge_absent = false;      // the address is not acknowledged
  bool corrupt_pec = false;       // the battery's PEC bytes arrive damaged
  bool arbitration_lost = false;  // another master takes the bus
  int hung_transfers = 0;         // transfers that stay busy until cancelled
  int busy_polls = 1;             // status polls answered "busy" before a transfer is done
  bool unplugged = false;         // every transfer fails

  // What crossed the link: reports by id, sent by the host.
  std::map<std::uint8_t, int> sent;
  int input_reports = 0;
  std::vector<std::uint8_t> smbus_config;  // the last configuration set (feature report 0x06)
  std::unique_ptr<smb::sim::SimAdapter> gauge;

  int SentTotal() const;
};

class FakeCp2112Transport : public platform::HidTransport {
 public:
  // One chip per entry, each with the battery of `profile_json` behind it.
  explicit FakeCp2112Transport(const std::vector<std::shared_ptr<FakeCp2112>>& chips) : chips_(chips) {}
  static std::shared_ptr<FakeCp2112> Chip(const std::string& profile_json);

  std::string Unavailable() override { return ""; }
  std::vector<platform::HidDeviceInfo> Enumerate(std::uint16_t vendor_id, std::uint16_t product_id) override;
  std::unique_ptr<platform::HidDevice> Open(const std::string& path, std::string& error) override;

 private:
  std::vector<std::shared_ptr<FakeCp2112>> chips_;
};

}  // namespace testing_support
