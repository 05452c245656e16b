#include "link/record/recording_adapter.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

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

// One answer as it stands, a sequence as an array.
std::string Entry(const std::vector<std::string>& answers) {
  const bool all_same = std::all_of(answers.begin(), answers.end(), [&](const std::string& a) { return a == answers[0]; });
  if (all_same) return answers[0];
  std::string text = "[";
  for (std::size_t i = 0; i < answers.size(); ++i) text += (i == 0 ? "" : ", ") + answers[i];
  return text + "]";
}

// The tables in the order a reader expects them, with the width of their keys.
struct TableLayout {
  const char* name;
  int key_digits;  // command codes have two, subcommands four
};
const TableLayout kTables[] = {
    {"words", 2},           {"blocks", 2},     {"manufacturer_access", 4},
    {"manufacturer_data", 4}, {"data_flash", 4}, {"subclass", 4},
};

}  // namespace

void RecordingAdapter::File(const char* table, int key, std::string answer) {
  tables_[table][key].push_back(std::move(answer));
  TakeSnapshot();
}

void RecordingAdapter::TakeSnapshot() {
  const int next = complete_snapshot_.load() == 0 ? 1 : 0;
  snapshots_[next] = ProfileText();
  complete_snapshot_.store(next);
}

int RecordingAdapter::OpenDeviceVIDPID(int vendor_id, int product_id) {
  const int result = inner_.OpenDeviceVIDPID(vendor_id, product_id);
  open_.push_back(Number(result));
  TakeSnapshot();
  return result;
}

int RecordingAdapter::InterfaceID() {
  const int result = inner_.InterfaceID();
  interface_id_.push_back(Number(result));
  TakeSnapshot();
  return result;
}

int RecordingAdapter::ReadWord(int address, int command) {
  const int result = inner_.ReadWord(address, command);
  if (command == 0x00 && s00_) {
    File("manufacturer_access", *s00_, Number(result));
  } else {
    File("words", command, Number(result));
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
    File("manufacturer_data", *s00_, answer);
  } else if (command == 0x2F && s00_) {
    File("data_flash", *s00_, answer);
  } else if (command == 0x78 && s77_) {
    File("subclass", *s77_, answer);
  } else if (command == 0x44 && s44_) {
    const bool echoed = result >= 2 && reply.size() >= 2 && reply[0] == (*s44_ & 0xFF) && reply[1] == (*s44_ >> 8);
    if (result < 0) {
      File("manufacturer_data", *s44_, answer);
    } else if (echoed) {
      File("manufacturer_data", *s44_, Bytes(reply, 2));
    } else {
      File("blocks", command, answer);
    }
  } else {
    File("blocks", command, answer);
  }
  return result;
}

std::string RecordingAdapter::ProfileText() const {
  std::string text = "{\n  \"description\": \"recorded\"";
  if (!open_.empty() || !interface_id_.empty()) {
    text += ",\n  \"adapter\": {";
    if (!open_.empty()) text += "\"open\": " + Entry(open_);
    if (!interface_id_.empty()) text += std::string(open_.empty() ? "" : ", ") + "\"interface_id\": " + Entry(interface_id_);
    text += "}";
  }
  for (const TableLayout& layout : kTables) {
    const auto table = tables_.find(layout.name);
    if (table == tables_.end()) continue;
    text += ",\n  \"" + std::string(layout.name) + "\": {";
    bool first = true;
    for (const auto& [key, answers] : table->second) {
      char name[16];
      std::snprintf(name, sizeof name, "0x%0*X", layout.key_digits, static_cast<unsigned>(key));
      text += std::string(first ? "\n    \"" : ",\n    \"") + name + "\": " + Entry(answers);
      first = false;
    }
    text += "\n  }";
  }
  return text + "\n}\n";
}

bool RecordingAdapter::Write() const {
  std::ofstream file(path_, std::ios::binary | std::ios::trunc);
  file << ProfileText();
  return static_cast<bool>(file);
}

void RecordingAdapter::WriteFromSignalHandler() const {
  const int index = complete_snapshot_.load();
  if (index < 0) return;
  const std::string& text = snapshots_[index];
#ifdef O_BINARY
  const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_BINARY, 0644);
#else
  const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
#endif
  if (fd < 0) return;
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = write(fd, text.data() + written, text.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  close(fd);
}

}  // namespace smb::record
