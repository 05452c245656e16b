#include "cli/dump.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "cli/backup_files.h"
#include "cli/battery_values.h"
#include "cli/before_writing.h"
#include "cli/dialogue_console.h"
#include "cli/gauge_writes.h"
#include "cli/session.h"
#include "cli/streams.h"
#include "platform/common/printable.h"
#include "platform/sha256.h"
#include "reports/bq40z/protocol.h"

namespace cli {

using core::BatteryAddress;
using core::Program;

namespace {

constexpr int kImageBytes = kDataFlashRows * kDataFlashRowBytes;
constexpr int kReplyBytes = 2 + kDataFlashRowBytes;  // the echoed address, then the row
constexpr int kRetries = 3;                          // for a row whose reply is wrong
constexpr int kSerialNumber = 0x1C;
constexpr int kFirmwareVersion = 0x0002;
constexpr std::size_t kNameLimit = 200;  // characters of a file name shown

// What the backup is of, for its description.
struct Identity {
  BatteryText device_name;
  int serial_number = -1;        // or an error code
  std::string firmware_version;  // empty: not read
};

std::string Hex4(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", value);
  return text;
}

// The firmware version as the bq40z report shows it: data bytes 2 and 3, byte 2 first.
std::string FirmwareVersion(Program& p) {
  reports::bq40z_family::ReportBuffer receive = {};
  reports::bq40z_family::ManufacturerBlockRead(p, receive, kFirmwareVersion);
  if (p.status < 6 || receive[0] != (kFirmwareVersion & 0xFF) || receive[1] != (kFirmwareVersion >> 8)) return "";
  return Hex4(p.buf[2] * 256 + p.buf[3]);
}

// A bar of 32 marks on standard error when it is a terminal, one mark for every 8 rows.
class Progress {
 public:
  Progress() : shown_(StandardErrorIsTerminal()) {}
  void Show(int rows) const {
    if (!shown_) return;
    const std::string bar = std::string(rows / 8, '#') + std::string(32 - rows / 8, '.');
    std::fprintf(stderr, "\r[%s] %3d/%d rows", bar.c_str(), rows, kDataFlashRows);
    std::fflush(stderr);
  }
  void End() const {
    if (shown_) std::fputs("\n", stderr);
  }

 private:
  bool shown_;
};

// One row into `row`: the request, then block 0x44, whose reply must echo the
// address before its 32 bytes; a wrong reply is asked for again, at most
// kRetries times. Empty when the row was read, else what was wrong.
std::string ReadRow(Program& p, const GaugeWrite& request, std::uint8_t* row) {
  std::string problem;
  for (int attempt = 0; attempt <= kRetries; ++attempt) {
    request.Send(p);
    p.Sleep(5);
    std::uint8_t reply[256] = {};
    const int count = p.bus.SMBReadBlock(BatteryAddress, 0x44, reply);
    p.Sleep(5);
    const int echo = reply[0] + 256 * reply[1];
    if (count == kReplyBytes && echo == request.address()) {
      std::memcpy(row, reply + 2, kDataFlashRowBytes);
      return "";
    }
    problem = count < 0 ? "error " + std::to_string(count)
              : count != kReplyBytes ? std::to_string(count) + " bytes instead of " + std::to_string(kReplyBytes)
                                     : "the echo " + Hex4(echo);
  }
  return problem;
}

std::string HexText(const platform::Sha256Digest& digest) {
  std::string text;
  char pair[3];
  for (const std::uint8_t byte : digest) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    text += pair;
  }
  return text;
}

std::string Description(const Identity& identity, const std::string& image_path, const std::string& sha256) {
  Json document = Json::object();
  document["schema"] = 1;
  document["family"] = "bq40z";
  document["device_name"] = identity.device_name.result < 0 ? Json(nullptr) : Json(JsonText(identity.device_name.bytes));
  document["serial_number"] = identity.serial_number < 0 ? Json(nullptr) : Json(identity.serial_number);
  document["firmware_version"] = identity.firmware_version.empty() ? Json(nullptr) : Json(identity.firmware_version);
  document["time"] = IsoUtc(std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now()));
  document["address_range"] = {{"first", Hex4(kDataFlashFirst)}, {"last", Hex4(kDataFlashFirst + kImageBytes - 1)}};
  // A name that is not UTF-8 is escaped as the battery's text is.
  document["image"] = JsonText(std::filesystem::path(image_path).filename().string());
  document["size_bytes"] = kImageBytes;
  document["sha256"] = sha256;
  return document.dump(2, ' ', true) + "\n";
}

}  // namespace

int Dump(Program& p, const DumpOptions& options) {
  Identity identity;
  DialogueConsole shown(p.con, WillAsk(options.yes));
  const Gauge gauge = FindGauge(p, shown, options.family);
  identity.device_name = gauge.device_name;
  if (!gauge.family) return RefuseFamily(gauge);
  if (gauge.family == Family::bq20z) {
    return Refuse("dump reads a bq40z's data flash only; a bq20z's is not read (its layout differs with the firmware)");
  }
  if (gauge.family != Family::bq40z) return Refuse("dump reads a bq40z's data flash only");
  const SealReading state = ShowState(p, shown, Family::bq40z, "Security state");
  if (!state.state) return Refuse("the security state cannot be read", kOnlyStateRead);
  if (*state.state == Seal::Sealed) {
    return Refuse("a sealed gauge does not give its data flash (unseal it first: vantrel unseal --key KEY)",
                  kOnlyStateRead);
  }
  identity.serial_number = p.bus.SMBReadWord(BatteryAddress, kSerialNumber);
  identity.firmware_version = FirmwareVersion(p);
  ShowRow(shown, "Serial number",
          identity.serial_number < 0 ? "unknown (error " + std::to_string(identity.serial_number) + ")"
                                     : std::to_string(identity.serial_number));
  ShowRow(shown, "Firmware version", identity.firmware_version.empty() ? "unknown" : identity.firmware_version);

  const std::vector<GaugeWrite> requests = PlannedWrites(Action::Dump, Family::bq40z, {});
  ShowRow(shown, "Bus writes", requests.front().TraceText());
  ShowRow(shown, "", requests[1].TraceText());
  ShowRow(shown, "", "...");
  ShowRow(shown, "", requests.back().TraceText());
  ShowRow(shown, "", std::to_string(requests.size()) + " two-byte address requests, each followed by a block read of 0x44");
  const bool replaces = std::filesystem::exists(options.output);
  // The names as typed, but never a control byte or an endless line on the terminal.
  const std::string image_name = platform::Printable(options.output, kNameLimit);
  const std::string description_name = platform::Printable(DescriptionPath(options.output), kNameLimit);
  ShowRow(shown, "Output", image_name + " and " + description_name +
                           (replaces ? " (replacing the files there)" : ""));
  const Consent consent = Ask(shown, options.yes, "Read the data flash into " + image_name + "?");
  if (consent != Consent::Given) return NotConfirmed(consent);

  std::vector<std::uint8_t> image(kImageBytes);
  p.con.Flush();  // what was said above comes before the bar
  const Progress progress;
  progress.Show(0);
  for (std::size_t n = 0; n < requests.size(); ++n) {
    const std::string problem = ReadRow(p, requests[n], image.data() + n * kDataFlashRowBytes);
    if (!problem.empty()) {
      progress.End();
      Complain("data-flash row " + Hex4(requests[n].address()) + " could not be read (" + problem + ", " +
               std::to_string(kRetries + 1) + " attempts): no file was written");
      return kExitNotDone;
    }
    progress.Show(static_cast<int>(n + 1));
  }
  progress.End();

  const std::optional<platform::Sha256Digest> digest = platform::Sha256(image);
  if (!digest) {
    Complain("the SHA-256 of the image could not be computed: no file was written");
    return kExitNotDone;
  }
  const std::string sha256 = HexText(*digest);
  std::string problem;
  if (!WriteBackupFiles(options.output, image, Description(identity, options.output, sha256), problem)) {
    Complain(problem + ": the backup was not written");
    return kExitNotDone;
  }
  ShowRow(p.con, "Image", image_name + " (" + std::to_string(kImageBytes) + " bytes)");
  ShowRow(p.con, "SHA-256", sha256);
  ShowRow(p.con, "Description", description_name);
  return kExitSuccess;
}

}  // namespace cli
