#pragma once
// Records every answer of an adapter as a battery profile, so that the
// battery can be replayed by the simulated adapter with the same keystrokes.
//
// Answers are filed under the table and selection in force, exactly as the
// simulated battery looks them up: a word read of 0x00 after a write to 0x00
// goes to manufacturer_access, and so on. A block 0x44 reply that does not
// echo its request cannot be filed so; it goes to blocks["0x44"].

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/adapter.h"

namespace smb::record {

class RecordingAdapter : public Adapter {
 public:
  RecordingAdapter(Adapter& inner, std::string path) : inner_(inner), path_(std::move(path)) {}

  int OpenDeviceVIDPID(int vendor_id, int product_id) override;
  int InterfaceID() override;
  int EnablePEC(int on) override { return inner_.EnablePEC(on); }
  int ReadWord(int address, int command) override;
  int WriteWord(int address, int command, int value) override;
  int ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) override;
  int WriteBlock(int address, int command, const std::uint8_t* data, int count) override;
  void CloseDevice() override { inner_.CloseDevice(); }
  bool PacedInRealTime() const override { return inner_.PacedInRealTime(); }

  // The profile as recorded so far.
  std::string ProfileText() const;
  // Writes the profile file; false when it cannot be written.
  bool Write() const;
  // Writes the last complete profile with async-signal-safe calls only, for
  // an interrupted program.
  void WriteFromSignalHandler() const;

 private:
  using Answers = std::vector<std::string>;  // each a JSON value
  void File(const char* table, int key, std::string answer);
  void TakeSnapshot();

  Adapter& inner_;
  std::string path_;
  std::optional<int> s00_, s77_, s44_;
  Answers open_, interface_id_;
  std::map<std::string, std::map<int, Answers>> tables_;
  std::string snapshots_[2];
  std::atomic<int> complete_snapshot_{-1};
};

}  // namespace smb::record
