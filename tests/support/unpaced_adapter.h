#pragma once
// A real backend with the simulated battery's time: its sleeps take no real
// time, so a whole report through a fake chip runs at once.

#include <memory>

#include "link/adapter.h"

namespace testing_support {

class UnpacedAdapter : public smb::Adapter {
 public:
  explicit UnpacedAdapter(std::unique_ptr<smb::Adapter> real) : real_(std::move(real)) {}
  int OpenDeviceVIDPID(int vendor_id, int product_id) override { return real_->OpenDeviceVIDPID(vendor_id, product_id); }
  int InterfaceID() override { return real_->InterfaceID(); }
  int EnablePEC(int on) override { return real_->EnablePEC(on); }
  int ReadWord(int address, int command) override { return real_->ReadWord(address, command); }
  int WriteWord(int address, int command, int value) override { return real_->WriteWord(address, command, value); }
  int ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) override {
    return real_->ReadBlock(address, command, reply);
  }
  int WriteBlock(int address, int command, const std::uint8_t* data, int count) override {
    return real_->WriteBlock(address, command, data, count);
  }
  void CloseDevice() override { real_->CloseDevice(); }
  bool PacedInRealTime() const override { return false; }

 private:
  std::unique_ptr<smb::Adapter> real_;
};

}  // namespace testing_support
