#pragma once
// The bq40z information report (menu choice "3") and its sections.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/program.h"

namespace reports {

// The whole report: header, boot-ROM guard, battery data, status registers,
// seal state, Qmax, identity and the capacity fade.
void bq40z(core::Program& p);

// Finds the security mode from OperationStatus, prints it between two
// separators and records it in StUnsealDevice.
void PrintSealUnsealDevicez40(core::Program& p);

namespace z40 {

// The report's receive buffer for manufacturer block reads.
constexpr std::size_t kReportBufferSize = 99;
using ReportBuffer = std::uint8_t[kReportBufferSize];

// Writes the two request bytes of `subcommand` to command 0x44, reads the
// reply back into `receive` and leaves its data (the reply after the two
// echoed request bytes) in p.buf from index 0; p.status gets the read's result.
template <std::size_t N>
void ManufacturerBlockRead(core::Program& p, std::uint8_t (&receive)[N], int subcommand) {
  static_assert(N >= 2 && N - 2 <= sizeof p.buf, "the request and the copied data must fit");
  receive[0] = static_cast<std::uint8_t>(subcommand & 0xFF);
  receive[1] = static_cast<std::uint8_t>((subcommand >> 8) & 0xFF);
  p.bus.SMBWriteBlock(core::BatteryAddress, 0x44, receive, 2);
  p.Sleep(5);
  p.status = p.bus.SMBReadBlock(core::BatteryAddress, 0x44, receive);
  p.Sleep(5);
  // Only what the receive buffer actually holds is copied: a reply longer than
  // the buffer is cut at its end, and a reply of fewer than the two echo bytes
  // (or an error code) leaves buf as the previous read left it.
  if (p.status >= 2) {
    const std::size_t held = std::min(static_cast<std::size_t>(p.status), N);
    std::memcpy(p.buf, receive + 2, held - 2);
  }
}

// Full access only: the unseal and full-access keys into the four key words.
void CaptureKeys(core::Program& p, ReportBuffer& receive);

// The eight status register decodes, each with its value line and flag lines.
void BatteryStatusFlags(core::Program& p);
void BatteryModeFlags(core::Program& p);
void OperationStatusFlags(core::Program& p, ReportBuffer& receive);
void GaugingStatusFlags(core::Program& p, ReportBuffer& receive);
void ManufacturingStatusFlags(core::Program& p, ReportBuffer& receive);
void SafetyStatusFlags(core::Program& p, ReportBuffer& receive);
void PFStatusFlags(core::Program& p, ReportBuffer& receive);
void ChargingStatusFlags(core::Program& p, ReportBuffer& receive);

// Update status, the Qmax words and the R_a flags, laid out by device type.
void QmaxSection(core::Program& p, ReportBuffer& receive);
// Device type, firmware, hardware and chemistry words.
void IdentitySection(core::Program& p, ReportBuffer& receive);

}  // namespace z40

}  // namespace reports
