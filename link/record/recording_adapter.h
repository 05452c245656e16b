#pragma once
// Records every answer of an adapter as a battery profile, so that the
// battery can be replayed by the simulated adapter with the same keystrokes.
//
// Answers are filed under the table and selection in force, exactly as the
// simulated battery looks them up: a word read of 0x00 after a write to 0x00
// goes to manufacturer_access, and so on. A block 0x44 reply that does not
// echo its request cannot be filed so; it goes to blocks["0x44"].

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/adapter.h"
#include "platform/files.h"

namespace smb::record {

class RecordingAdapter : public Adapter {
 public:
  explicit RecordingAdapter(Adapter& inner) : inner_(inner) {}

  int OpenDeviceVIDPID(int vendor_id, int product_id) override;
  int InterfaceID() override;
  int EnablePEC(int on) override { return inner_.EnablePEC(on); }
  int ReadWord(int address, int command) override;
  int WriteWord(int address, int command, int value) override;
  int ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) override;
  int WriteBlock(int address, int command, const std::uint8_t* data, int count) override;
  void CloseDevice() override { inner_.CloseDevice(); }
  bool PacedInRealTime() const override { return inner_.PacedInRealTime(); }
  const char* OpenFailure() const override { return inner_.OpenFailure(); }

  // The profile as recorded so far.
  std::string ProfileText() const;
  // Writes the profile into the file; safe in an interrupt handler (answers
  // are filed with interrupts deferred). The file holds any write error.
  void WriteTo(platform::ReplacingFile& file) const;

  // Where the profile's text goes, piece by piece, without allocating.
  class Sink {
   public:
    virtual void Put(std::string_view text) = 0;

   protected:
    ~Sink() = default;
  };

 private:
  using Answers = std::vector<std::string>;  // each a JSON value
  enum Table { kWords, kBlocks, kManufacturerAccess, kManufacturerData, kDataFlash, kSubclass, kTableCount };
  void File(Table table, int key, std::string answer);
  void WriteProfile(Sink& out) const;

  Adapter& inner_;
  std::optional<int> s00_, s77_, s44_;
  Answers open_, interface_id_;
  std::map<int, Answers> tables_[kTableCount];
};

}  // namespace smb::record
