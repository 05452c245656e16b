#pragma once
// The simulated adapter: a battery described by a profile, behind the same
// eight operations as a real adapter.

#include <optional>

#include "link/adapter.h"
#include "link/sim/profile.h"
#include "link/sim/security.h"

namespace smb::sim {

class SimAdapter : public Adapter {
 public:
  SimAdapter(Profile profile, bool real_time)
      : profile_(std::move(profile)), security_(profile_.security), real_time_(real_time) {}

  int OpenDeviceVIDPID(int vendor_id, int product_id) override;
  int InterfaceID() override;
  int EnablePEC(int) override { return 0; }
  int ReadWord(int address, int command) override;
  int WriteWord(int address, int command, int value) override;
  int ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) override;
  int WriteBlock(int address, int command, const std::uint8_t* data, int count) override;
  void CloseDevice() override {}
  bool PacedInRealTime() const override { return real_time_; }

 private:
  // The next answer of table[selection], or nullptr when the selection has not
  // been made or the table has no entry for it.
  static const Answer* Selected(AnswerTable& table, const std::optional<int>& selection);
  // manufacturer_data[selection] as the gauge's security lets it answer.
  const Answer* ManufacturerData(const std::optional<int>& selection);
  int Block(const Answer& answer, std::vector<std::uint8_t>& reply) const;

  Profile profile_;
  GaugeSecurity security_;
  Answer made_;  // an answer made here rather than taken from the profile
  bool real_time_;
  // What the last writes selected; kept for the whole run.
  std::optional<int> s00_;
  std::optional<int> s77_;
  std::optional<int> s44_;
};

}  // namespace smb::sim
