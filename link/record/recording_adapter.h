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
  // The profile's tables in the order it shows them, then the adapter's answers.
  enum Table : std::uint8_t {
    kWords, kBlocks, kManufacturerAccess, kManufacturerData, kDataFlash, kSubclass, kOpen, kInterfaceId, kTableCount
  };
  // Answers of one entry that came one after another and are the same: a
  // word, a result or an error code, or for a block a count of bytes kept in
  // bytes_ from `offset` on.
  struct Run {
    int code;
    std::uint32_t offset;
    std::uint32_t repeats;
    std::uint32_t next;  // the entry's next run in runs_, or kNone
  };
  struct Entry {
    std::uint32_t first;
    std::uint32_t last;
  };
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;
  static bool HoldsBlocks(Table table);
  void File(Table table, int key, int code, const std::uint8_t* bytes = nullptr);
  bool Repeats(const Run& run, Table table, int code, const std::uint8_t* bytes) const;
  void WriteProfile(Sink& out) const;
  void PutEntry(Sink& out, Table table, const Entry& entry) const;
  void PutAnswer(Sink& out, Table table, const Run& run) const;

  Adapter& inner_;
  std::optional<int> s00_, s77_, s44_;
  // By table, then key: the order of the profile. A battery asked again and
  // again mostly answers the same, and such an answer only adds a repeat.
  std::map<std::uint32_t, Entry> entries_;
  std::vector<Run> runs_;
  std::vector<std::uint8_t> bytes_;  // every block answer's bytes, one after another
};

}  // namespace smb::record
