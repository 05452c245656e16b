#include "link/record/recording_adapter.h"

#include <algorithm>

#include "platform/system.h"

namespace smb::record {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The tables in the order a reader expects them, with the width of their keys.
struct TableLayout {
  const char* name;
  int key_digits;  // command codes have two, subcommands four
};
constexpr TableLayout kTables[] = {
    {"words", 2},             {"blocks", 2},     {"manufacturer_access", 4},
    {"manufacturer_data", 4}, {"data_flash", 4}, {"subclass", 4},
};

// Written by hand: the profile is also written from an interrupt handler,
// where formatting functions that may allocate are out of bounds.
std::string_view Decimal(int value, char (&digits)[12]) {
  char* end = digits + sizeof digits;
  char* at = end;
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    *--at = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--at = '-';
  return {at, static_cast<std::size_t>(end - at)};
}

std::string_view Key(int key, int digits, char (&text)[8]) {
  text[0] = '0';
  text[1] = 'x';
  for (int i = 0; i < digits; ++i) text[2 + i] = kHexDigits[(key >> (4 * (digits - 1 - i))) & 0xF];
  return {text, static_cast<std::size_t>(2 + digits)};
}

class StringSink : public RecordingAdapter::Sink {
 public:
  void Put(std::string_view piece) override { text.append(piece); }
  std::string text;
};

class FileSink : public RecordingAdapter::Sink {
 public:
  explicit FileSink(platform::ReplacingFile& file) : file_(file) {}
  void Put(std::string_view piece) override {
    while (!piece.empty()) {
      if (used_ == sizeof buffer_) Flush();
      const std::size_t part = std::min(piece.size(), sizeof buffer_ - used_);
      piece.copy(buffer_ + used_, part);
      used_ += part;
      piece.remove_prefix(part);
    }
  }
  void Flush() {
    file_.Write(buffer_, used_);
    used_ = 0;
  }

 private:
  platform::ReplacingFile& file_;
  char buffer_[4096];
  std::size_t used_ = 0;
};

}  // namespace

bool RecordingAdapter::HoldsBlocks(Table table) {
  return table == kBlocks || table == kManufacturerData || table == kDataFlash || table == kSubclass;
}

bool RecordingAdapter::Repeats(const Run& run, Table table, int code, const std::uint8_t* bytes) const {
  if (run.code != code) return false;
  return !HoldsBlocks(table) || code <= 0 || std::equal(bytes, bytes + code, bytes_.begin() + run.offset);
}

// Interrupts wait while an answer is filed: the profile is never half changed
// when an interrupt handler writes it.
void RecordingAdapter::File(Table table, int key, int code, const std::uint8_t* bytes) {
  const platform::InterruptDeferral whole;
  const auto [entry, fresh] = entries_.try_emplace(std::uint32_t{table} << 16 | (key & 0xFFFF), Entry{kNone, kNone});
  Entry& answers = entry->second;
  if (!fresh && Repeats(runs_[answers.last], table, code, bytes)) {
    ++runs_[answers.last].repeats;
    return;
  }
  const auto offset = static_cast<std::uint32_t>(bytes_.size());
  if (HoldsBlocks(table) && code > 0) bytes_.insert(bytes_.end(), bytes, bytes + code);
  const auto index = static_cast<std::uint32_t>(runs_.size());
  runs_.push_back(Run{code, offset, 1, kNone});
  (fresh ? answers.first : runs_[answers.last].next) = index;
  answers.last = index;
}

int RecordingAdapter::OpenDeviceVIDPID(int vendor_id, int product_id) {
  const int result = inner_.OpenDeviceVIDPID(vendor_id, product_id);
  File(kOpen, 0, result);
  return result;
}

int RecordingAdapter::InterfaceID() {
  const int result = inner_.InterfaceID();
  File(kInterfaceId, 0, result);
  return result;
}

int RecordingAdapter::ReadWord(int address, int command) {
  const int result = inner_.ReadWord(address, command);
  if (command == 0x00 && s00_) {
    File(kManufacturerAccess, *s00_, result);
  } else {
    File(kWords, command, result);
  }
  return result;
}

int RecordingAdapter::WriteWord(int address, int command, int value) {
  if (command == 0x00) s00_ = value & 0xFFFF;
  if (command == 0x77) s77_ = value & 0xFFFF;
  return inner_.WriteWord(address, command, value);
}

int RecordingAdapter::WriteBlock(int address, int command, const std::uint8_t* data, int count) {
  if (command == 0x44 && count >= 2) s44_ = data[0] + 256 * data[1];
  return inner_.WriteBlock(address, command, data, count);
}

int RecordingAdapter::ReadBlock(int address, int command, std::vector<std::uint8_t>& reply) {
  const int result = inner_.ReadBlock(address, command, reply);
  // An error code, or the bytes that the battery sent; a count that the bytes
  // do not cover is filed as the error that the program sees.
  const int answer = BlockArrivedWhole(result, reply) ? result : kProtocolError;
  if (command == 0x23 && s00_) {
    File(kManufacturerData, *s00_, answer, reply.data());
  } else if (command == 0x2F && s00_) {
    File(kDataFlash, *s00_, answer, reply.data());
  } else if (command == 0x78 && s77_) {
    File(kSubclass, *s77_, answer, reply.data());
  } else if (command == 0x44 && s44_) {
    const bool echoed = answer >= 2 && reply[0] == (*s44_ & 0xFF) && reply[1] == (*s44_ >> 8);
    if (answer < 0) {
      File(kManufacturerData, *s44_, answer);
    } else if (echoed) {
      File(kManufacturerData, *s44_, answer - 2, reply.data() + 2);
    } else {
      File(kBlocks, command, answer, reply.data());
    }
  } else {
    File(kBlocks, command, answer, reply.data());
  }
  return result;
}

void RecordingAdapter::PutAnswer(Sink& out, Table table, const Run& run) const {
  if (!HoldsBlocks(table) || run.code < 0) {
    char digits[12];
    out.Put(Decimal(run.code, digits));
    return;
  }
  char text[3 * 255 + 2] = {'"'};  // a block holds at most 255 bytes
  std::size_t length = 1;
  for (int i = 0; i < run.code && i < 255; ++i) {
    const std::uint8_t byte = bytes_[run.offset + static_cast<std::uint32_t>(i)];
    if (i > 0) text[length++] = ' ';
    text[length++] = kHexDigits[byte >> 4];
    text[length++] = kHexDigits[byte & 0xF];
  }
  text[length++] = '"';
  out.Put(std::string_view(text, length));
}

// One answer as it stands, a sequence as an array (runs that follow one
// another differ, so one run is an entry whose answers are all the same).
void RecordingAdapter::PutEntry(Sink& out, Table table, const Entry& entry) const {
  if (runs_[entry.first].next == kNone) {
    PutAnswer(out, table, runs_[entry.first]);
    return;
  }
  const char* separator = "[";
  for (std::uint32_t index = entry.first; index != kNone; index = runs_[index].next) {
    for (std::uint32_t repeat = 0; repeat < runs_[index].repeats; ++repeat) {
      out.Put(separator);
      PutAnswer(out, table, runs_[index]);
      separator = ", ";
    }
  }
  out.Put("]");
}

void RecordingAdapter::WriteProfile(Sink& out) const {
  const auto adapter = entries_.lower_bound(std::uint32_t{kOpen} << 16);
  out.Put("{\n  \"description\": \"recorded\"");
  if (adapter != entries_.end()) {
    out.Put(",\n  \"adapter\": {");
    for (auto entry = adapter; entry != entries_.end(); ++entry) {
      if (entry != adapter) out.Put(", ");
      out.Put(entry->first >> 16 == kOpen ? "\"open\": " : "\"interface_id\": ");
      PutEntry(out, static_cast<Table>(entry->first >> 16), entry->second);
    }
    out.Put("}");
  }
  for (auto entry = entries_.begin(); entry != adapter;) {
    const auto table = static_cast<Table>(entry->first >> 16);
    out.Put(",\n  \"");
    out.Put(kTables[table].name);
    out.Put("\": {");
    for (const char* separator = "\n    \""; entry != adapter && entry->first >> 16 == table; ++entry) {
      char name[8];
      out.Put(separator);
      out.Put(Key(static_cast<int>(entry->first & 0xFFFF), kTables[table].key_digits, name));
      out.Put("\": ");
      PutEntry(out, table, entry->second);
      separator = ",\n    \"";
    }
    out.Put("\n  }");
  }
  out.Put("\n}\n");
}

std::string RecordingAdapter::ProfileText() const {
  StringSink text;
  WriteProfile(text);
  return text.text;
}

void RecordingAdapter::WriteTo(platform::ReplacingFile& file) const {
  FileSink sink(file);
  WriteProfile(sink);
  sink.Flush();
}

}  // namespace smb::record
