#include "link/record/recording_adapter.h"

#include <algorithm>
#include <cstdio>

#include "platform/system.h"

namespace smb::record {

namespace {

std::string Number(int value) { return std::to_string(value); }

std::string Bytes(const std::vector<std::uint8_t>& bytes, std::size_t from) {
  std::string text = "\"";
  char hex[4];
  for (std::size_t i = from; i < bytes.size(); ++i) {
    std::snprintf(hex, sizeof hex, i == from ? "%02X" : " %02X", bytes[i]);
    text += hex;
  }
  return text + "\"";
}

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
std::string_view Key(int key, int digits, char (&text)[8]) {
  text[0] = '0';
  text[1] = 'x';
  for (int i = 0; i < digits; ++i) text[2 + i] = "0123456789ABCDEF"[(key >> (4 * (digits - 1 - i))) & 0xF];
  return {text, static_cast<std::size_t>(2 + digits)};
}

// One answer as it stands, a sequence as an array.
void PutEntry(RecordingAdapter::Sink& out, const std::vector<std::string>& answers) {
  bool all_same = true;
  for (const std::string& answer : answers) all_same = all_same && answer == answers[0];
  if (all_same) {
    out.Put(answers[0]);
    return;
  }
  out.Put("[");
  for (std::size_t i = 0; i < answers.size(); ++i) {
    if (i > 0) out.Put(", ");
    out.Put(answers[i]);
  }
  out.Put("]");
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

// Interrupts wait while an answer is filed: the profile is never half changed
// when an interrupt handler writes it.
void RecordingAdapter::File(Table table, int key, std::string answer) {
  const platform::InterruptDeferral whole;
  tables_[table][key].push_back(std::move(answer));
}

int RecordingAdapter::OpenDeviceVIDPID(int vendor_id, int product_id) {
  const int result = inner_.OpenDeviceVIDPID(vendor_id, product_id);
  const platform::InterruptDeferral whole;
  open_.push_back(Number(result));
  return result;
}

int RecordingAdapter::InterfaceID() {
  const int result = inner_.InterfaceID();
  const platform::InterruptDeferral whole;
  interface_id_.push_back(Number(result));
  return result;
}

int RecordingAdapter::ReadWord(int address, int command) {
  const int result = inner_.ReadWord(address, command);
  if (command == 0x00 && s00_) {
    File(kManufacturerAccess, *s00_, Number(result));
  } else {
    File(kWords, command, Number(result));
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
  const std::string answer = result < 0 ? Number(result) : Bytes(reply, 0);
  if (command == 0x23 && s00_) {
    File(kManufacturerData, *s00_, answer);
  } else if (command == 0x2F && s00_) {
    File(kDataFlash, *s00_, answer);
  } else if (command == 0x78 && s77_) {
    File(kSubclass, *s77_, answer);
  } else if (command == 0x44 && s44_) {
    const bool echoed = result >= 2 && reply.size() >= 2 && reply[0] == (*s44_ & 0xFF) && reply[1] == (*s44_ >> 8);
    if (result < 0) {
      File(kManufacturerData, *s44_, answer);
    } else if (echoed) {
      File(kManufacturerData, *s44_, Bytes(reply, 2));
    } else {
      File(kBlocks, command, answer);
    }
  } else {
    File(kBlocks, command, answer);
  }
  return result;
}

void RecordingAdapter::WriteProfile(Sink& out) const {
  out.Put("{\n  \"description\": \"recorded\"");
  if (!open_.empty() || !interface_id_.empty()) {
    out.Put(",\n  \"adapter\": {");
    if (!open_.empty()) {
      out.Put("\"open\": ");
      PutEntry(out, open_);
    }
    if (!interface_id_.empty()) {
      out.Put(open_.empty() ? "\"interface_id\": " : ", \"interface_id\": ");
      PutEntry(out, interface_id_);
    }
    out.Put("}");
  }
  for (int table = 0; table < kTableCount; ++table) {
    if (tables_[table].empty()) continue;
    out.Put(",\n  \"");
    out.Put(kTables[table].name);
    out.Put("\": {");
    bool first = true;
    for (const auto& [key, answers] : tables_[table]) {
      char name[8];
      out.Put(first ? "\n    \"" : ",\n    \"");
      out.Put(Key(key, kTables[table].key_digits, name));
      out.Put("\": ");
      PutEntry(out, answers);
      first = false;
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
