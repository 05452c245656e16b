#include "link/cp2112/protocol.h"

#include <algorithm>

#include "link/adapter.h"

namespace smb::cp2112 {

namespace {

// The chip answers a report within a few USB frames; a second without one
// means it has stopped answering.
constexpr int kResponseTimeoutMs = 1000;
// Input reports of other kinds (a late answer to an abandoned transfer) that
// are passed over while one kind is awaited.
constexpr int kStaleReportLimit = 8;

std::uint8_t High(std::size_t value) { return static_cast<std::uint8_t>((value >> 8) & 0xFF); }
std::uint8_t Low(std::size_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

int ErrorCode(std::uint8_t status1) {
  switch (status1) {
    case kTimeoutNack:
    case kTimeoutBus:
      return kNotAcknowledged;
    case kArbitrationLost:
      return smb::kArbitrationLost;
    default:
      return kOtherError;
  }
}

}  // namespace

int Chip::Send(const std::uint8_t* report, std::size_t length) {
  return device_.Write(report, length) < 0 ? kAdapterGone : 0;
}

int Chip::Receive(std::uint8_t id, std::uint8_t (&report)[kReportLength]) {
  for (int stale = 0; stale <= kStaleReportLimit; ++stale) {
    const int length = device_.Read(report, sizeof report, kResponseTimeoutMs);
    if (length < 0) return kAdapterGone;
    if (length == 0) return kOtherError;
    if (report[0] == id) return 0;
  }
  return kOtherError;
}

int Chip::ReadVersion(Version& version) {
  std::uint8_t report[kReportLength] = {kVersionReport};
  if (device_.GetFeature(report, 3) < 3 || report[0] != kVersionReport) return kAdapterGone;
  version.part_number = report[1];
  version.device_version = report[2];
  return 0;
}

int Chip::Configure(const SmbusConfig& config) {
  const std::uint8_t report[] = {kSmbusConfigReport,
                                 static_cast<std::uint8_t>(config.clock_hz >> 24),
                                 static_cast<std::uint8_t>(config.clock_hz >> 16),
                                 static_cast<std::uint8_t>(config.clock_hz >> 8),
                                 static_cast<std::uint8_t>(config.clock_hz),
                                 0x02,  // the chip's own address, never addressed by anyone
                                 config.auto_send_read ? std::uint8_t{1} : std::uint8_t{0},
                                 High(config.write_timeout_ms),
                                 Low(config.write_timeout_ms),
                                 High(config.read_timeout_ms),
                                 Low(config.read_timeout_ms),
                                 config.scl_low_timeout ? std::uint8_t{1} : std::uint8_t{0},
                                 High(config.retries),
                                 Low(config.retries)};
  return device_.SetFeature(report, sizeof report) < static_cast<int>(sizeof report) ? kAdapterGone : 0;
}

int Chip::Cancel() {
  const std::uint8_t report[] = {kCancelTransfer, 0x01};
  return Send(report, sizeof report);
}

// Polls the transfer status until the chip is done; `length` is then the
// number of bytes it read. A transfer that never ends is cancelled.
int Chip::AwaitCompletion(std::size_t& length) {
  const std::uint8_t request[] = {kStatusRequest, 0x01};
  std::uint8_t status[kReportLength] = {};
  for (int poll = 0; poll < kStatusPollLimit; ++poll) {
    if (const int r = Send(request, sizeof request); r < 0) return r;
    if (const int r = Receive(kStatusResponse, status); r < 0) return r;
    switch (status[1]) {
      case kBusy:
        continue;
      case kComplete:
        length = static_cast<std::size_t>((status[5] << 8) | status[6]);
        return 0;
      case kError:
        return ErrorCode(status[2]);
      default:
        return kOtherError;
    }
  }
  if (const int r = Cancel(); r < 0) return r;
  return kNotAcknowledged;
}

int Chip::ForceRead(std::uint8_t* in, std::size_t count) {
  std::size_t got = 0;
  while (got < count) {
    const std::size_t asked = std::min(count - got, kChunk);
    const std::uint8_t request[] = {kForceRead, High(asked), Low(asked)};
    std::uint8_t response[kReportLength] = {};
    if (const int r = Send(request, sizeof request); r < 0) return r;
    if (const int r = Receive(kReadResponse, response); r < 0) return r;
    if (response[1] == kError) return kOtherError;
    const std::size_t arrived = std::min<std::size_t>({response[2], asked, kChunk});
    if (arrived == 0) break;
    std::copy_n(response + 3, arrived, in + got);
    got += arrived;
  }
  return static_cast<int>(got);
}

int Chip::Transfer(int address, const std::uint8_t* out, std::size_t out_count, std::uint8_t* in,
                   std::size_t in_count) {
  const std::uint8_t target = static_cast<std::uint8_t>(address & 0xFE);
  std::uint8_t request[kReportLength] = {};
  std::size_t length = 0;
  if (in_count == 0) {
    if (out_count > kLongestWrite) return kProtocolError;
    request[0] = kWriteRequest;
    request[1] = target;
    request[2] = static_cast<std::uint8_t>(out_count);
    std::copy_n(out, out_count, request + 3);
    length = 3 + out_count;
  } else {
    // AN495 allows up to 16 bytes before the repeated start.
    if (out_count == 0 || out_count > 16 || in_count > kLongestRead) return kProtocolError;
    request[0] = kWriteReadRequest;
    request[1] = target;
    request[2] = High(in_count);
    request[3] = Low(in_count);
    request[4] = static_cast<std::uint8_t>(out_count);
    std::copy_n(out, out_count, request + 5);
    length = 5 + out_count;
  }
  if (const int r = Send(request, length); r < 0) return r;
  std::size_t received = 0;
  if (const int r = AwaitCompletion(received); r < 0) return r;
  if (in_count == 0) return 0;
  return ForceRead(in, std::min(received, in_count));
}

}  // namespace smb::cp2112
