#include "tests/fakes/fake_cp2112.h"

#include <algorithm>
#include <deque>
#include <numeric>

#include "link/cp2112/protocol.h"
#include "link/i2c/pec.h"
#include "link/sim/profile.h"

namespace testing_support {

namespace {

using namespace smb::cp2112;

constexpr int kGaugeAddress = 0x16;
constexpr int kBlockWriteCommand = 0x44;
constexpr std::uint8_t kPartNumber = 0x0C;
constexpr std::uint8_t kReadInProgress = 0x02;
constexpr std::uint8_t kSucceeded = 0x05;

class FakeDevice : public platform::HidDevice {
 public:
  explicit FakeDevice(std::shared_ptr<FakeCp2112> chip) : chip_(std::move(chip)) {}

  int Write(const std::uint8_t* report, std::size_t length) override {
    if (chip_->unplugged || length == 0) return -1;
    ++chip_->sent[report[0]];
    switch (report[0]) {
      case kWriteReadRequest:
        WriteRead(report[1], static_cast<std::size_t>((report[2] << 8) | report[3]), report[5]);
        break;
      case kWriteRequest:
        WriteOnly(report[1], report + 3, report[2]);
        break;
      case kStatusRequest:
        Status();
        break;
      case kForceRead:
        ForceRead(static_cast<std::size_t>((report[1] << 8) | report[2]));
        break;
      case kCancelTransfer:
        state_ = State::Idle;
        break;
      default:
        return -1;
    }
    return static_cast<int>(length);
  }

  int Read(std::uint8_t* report, std::size_t capacity, int) override {
    if (chip_->unplugged) return -1;
    if (input_.empty()) return 0;  // the chip sent nothing: the wait times out
    const std::vector<std::uint8_t> next = std::move(input_.front());
    input_.pop_front();
    ++chip_->input_reports;
    const std::size_t count = std::min(next.size(), capacity);
    std::copy_n(next.begin(), count, report);
    return static_cast<int>(count);
  }

  int SetFeature(const std::uint8_t* report, std::size_t length) override {
    if (chip_->unplugged || report[0] != kSmbusConfigReport) return -1;
    chip_->smbus_config.assign(report, report + length);
    return static_cast<int>(length);
  }

  int GetFeature(std::uint8_t* report, std::size_t capacity) override {
    if (chip_->unplugged || report[0] != kVersionReport || capacity < 3) return -1;
    report[1] = kPartNumber;
    report[2] = static_cast<std::uint8_t>(chip_->device_version);
    return 3;
  }

  std::string Error() const override { return "the device is gone"; }

 private:
  enum class State { Idle, Busy, Hung, Done, Failed };

  void Start() {
    polls_left_ = chip_->busy_polls;
    state_ = State::Busy;
    if (chip_->hung_transfers > 0) {
      --chip_->hung_transfers;
      state_ = State::Hung;
    }
    received_.clear();
    taken_ = 0;
  }

  void Fail(std::uint8_t status1) {
    if (state_ != State::Hung) state_ = State::Failed;
    status1_ = status1;
  }

  bool Acknowledged(int address) {
    if (chip_->arbitration_lost) {
      Fail(kArbitrationLost);
      return false;
    }
    if (address != kGaugeAddress || chip_->gauge_absent) {
      Fail(kTimeoutNack);
      return false;
    }
    return true;
  }

  // The battery's bytes after a repeated start: short reads are words, longer
  // ones blocks (count first), then the PEC byte, then idle bus bytes.
  void WriteRead(int address, std::size_t length, std::uint8_t command) {
    Start();
    if (!Acknowledged(address)) return;
    if (chip_->device_version < 2) return Fail(kReadIncomplete);
    std::vector<std::uint8_t> stream;
    if (length <= 3) {
      const int r = chip_->gauge->ReadWord(address, command);
      if (r < 0) return Fail(kTimeoutNack);
      stream = {static_cast<std::uint8_t>(r & 0xFF), static_cast<std::uint8_t>(r >> 8)};
    } else {
      std::vector<std::uint8_t> reply;
      if (chip_->gauge->ReadBlock(address, command, reply) < 0) return Fail(kTimeoutNack);
      stream.push_back(static_cast<std::uint8_t>(reply.size()));
      stream.insert(stream.end(), reply.begin(), reply.end());
    }
    std::uint8_t pec = smb::i2c::ReadPec(address, command, stream.data(), stream.size());
    if (chip_->corrupt_pec) pec ^= 0x5A;
    stream.push_back(pec);
    stream.resize(length, 0xFF);
    received_ = stream;
  }

  // [command, payload..., optional PEC]; the gauge does not acknowledge a bad PEC.
  void WriteOnly(int address, const std::uint8_t* b, std::size_t length) {
    Start();
    if (!Acknowledged(address) || length < 1) return;
    const int command = b[0];
    const std::size_t payload = command == kBlockWriteCommand && length >= 2 ? 1u + b[1] : 2u;
    if (length < 1 + payload) return Fail(kWriteIncomplete);
    if (length > 1 + payload && smb::i2c::WritePec(address, b, 1 + payload) != b[1 + payload]) {
      return Fail(kTimeoutNack);
    }
    if (command == kBlockWriteCommand) {
      chip_->gauge->WriteBlock(address, command, b + 2, b[1]);
    } else {
      chip_->gauge->WriteWord(address, command, b[1] | (b[2] << 8));
    }
  }

  void Status() {
    std::uint8_t status0 = kIdle;
    std::uint8_t status1 = 0;
    switch (state_) {
      case State::Idle:
        break;
      case State::Busy:
        status0 = kBusy;
        status1 = kReadInProgress;
        if (polls_left_-- <= 0) {
          state_ = State::Done;
          status0 = kComplete;
          status1 = kSucceeded;
        }
        break;
      case State::Hung:
        status0 = kBusy;
        status1 = kReadInProgress;
        break;
      case State::Done:
        status0 = kComplete;
        status1 = kSucceeded;
        break;
      case State::Failed:
        status0 = kError;
        status1 = status1_;
        break;
    }
    const std::size_t length = state_ == State::Done ? received_.size() : 0;
    input_.push_back({kStatusResponse, status0, status1, 0, 0, static_cast<std::uint8_t>(length >> 8),
                      static_cast<std::uint8_t>(length & 0xFF)});
  }

  void ForceRead(std::size_t asked) {
    const std::size_t count = std::min({asked, kChunk, received_.size() - taken_});
    std::vector<std::uint8_t> response(3 + count);
    response[0] = kReadResponse;
    response[1] = kComplete;
    response[2] = static_cast<std::uint8_t>(count);
    std::copy_n(received_.begin() + static_cast<std::ptrdiff_t>(taken_), count, response.begin() + 3);
    taken_ += count;
    input_.push_back(std::move(response));
  }

  std::shared_ptr<FakeCp2112> chip_;
  std::deque<std::vector<std::uint8_t>> input_;
  State state_ = State::Idle;
  std::uint8_t status1_ = 0;
  int polls_left_ = 0;
  std::vector<std::uint8_t> received_;
  std::size_t taken_ = 0;
};

std::string PathOf(std::size_t index) { return "fake-cp2112-" + std::to_string(index); }

}  // namespace

int FakeCp2112::SentTotal() const {
  return std::accumulate(sent.begin(), sent.end(), 0, [](int sum, const auto& entry) { return sum + entry.second; });
}

std::shared_ptr<FakeCp2112> FakeCp2112Transport::Chip(const std::string& profile_json) {
  auto chip = std::make_shared<FakeCp2112>();
  chip->gauge = std::make_unique<smb::sim::SimAdapter>(smb::sim::ParseProfile(profile_json, "fake"), false);
  return chip;
}

std::vector<platform::HidDeviceInfo> FakeCp2112Transport::Enumerate(std::uint16_t vendor_id,
                                                                    std::uint16_t product_id) {
  std::vector<platform::HidDeviceInfo> found;
  if (vendor_id != kVendorId || product_id != kProductId) return found;
  for (std::size_t i = 0; i < chips_.size(); ++i) {
    found.push_back({PathOf(i), chips_[i]->serial, "CP2112 HID USB-to-SMBus Bridge"});
  }
  return found;
}

std::unique_ptr<platform::HidDevice> FakeCp2112Transport::Open(const std::string& path, std::string& error) {
  for (std::size_t i = 0; i < chips_.size(); ++i) {
    if (path == PathOf(i)) return std::make_unique<FakeDevice>(chips_[i]);
  }
  error = "No such device";
  return nullptr;
}

}  // namespace testing_support
