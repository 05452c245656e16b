#include "link/sim/sim_adapter.h"

namespace smb::sim {

const Answer* SimAdapter::Selected(AnswerTable& table, const std::optional<int>& selection) {
  if (!selection) return nullptr;
  const auto entry = table.find(*selection);
  return entry == table.end() ? nullptr : &entry->second.Next();
}

int SimAdapter::OpenDeviceVIDPID(int, int) { return profile_.open.Next().code; }

int SimAdapter::InterfaceID() { return profile_.interface_id.Next().code; }

int SimAdapter::ReadWord(int, int command) {
  if (command == 0x00) {
    if (const Answer* answer = Selected(profile_.manufacturer_access, s00_)) {
      return security_.ManufacturerAccessAnswer(*s00_, answer->code);
    }
  }
  const auto entry = profile_.words.find(command);
  return entry == profile_.words.end() ? profile_.missing : entry->second.Next().code;
}

int SimAdapter::WriteWord(int, int command, int value) {
  if (command == 0x00) s00_ = value & 0xFFFF;
  if (command == 0x77) s77_ = value & 0xFFFF;
  security_.WordWritten(command, value & 0xFFFF);
  return 0;
}

const Answer* SimAdapter::ManufacturerData(const std::optional<int>& selection) {
  if (!selection) return nullptr;
  // A sealed gauge does not acknowledge a read of its data flash.
  if (security_.RefusesManufacturerData(*selection)) {
    made_ = Answer{profile_.missing, {}};
    return &made_;
  }
  const Answer* answer = Selected(profile_.manufacturer_data, selection);
  if (answer == nullptr || answer->code < 0) return answer;
  made_ = *answer;
  security_.MarkManufacturerData(*selection, made_.bytes);
  return &made_;
}

int SimAdapter::Block(const Answer& answer, std::vector<std::uint8_t>& reply) const {
  if (answer.code < 0) return answer.code;
  reply.insert(reply.end(), answer.bytes.begin(), answer.bytes.end());
  return static_cast<int>(reply.size());
}

int SimAdapter::ReadBlock(int, int command, std::vector<std::uint8_t>& reply) {
  reply.clear();
  const Answer* answer = nullptr;
  switch (command) {
    case 0x23: answer = ManufacturerData(s00_); break;
    case 0x2F: answer = Selected(profile_.data_flash, s00_); break;
    case 0x78: answer = Selected(profile_.subclass, s77_); break;
    case 0x44:
      answer = ManufacturerData(s44_);
      // The gauge echoes the request before its data.
      if (answer != nullptr && answer->code >= 0) {
        reply = {static_cast<std::uint8_t>(*s44_ & 0xFF), static_cast<std::uint8_t>(*s44_ >> 8)};
      }
      break;
    default: break;
  }
  if (answer != nullptr) return Block(*answer, reply);
  const auto entry = profile_.blocks.find(command);
  if (entry == profile_.blocks.end()) return profile_.missing;
  return Block(entry->second.Next(), reply);
}

int SimAdapter::WriteBlock(int, int command, const std::uint8_t* data, int count) {
  if (command == 0x44 && count >= 2) s44_ = data[0] + 256 * data[1];
  security_.BlockWritten();
  return 0;
}

}  // namespace smb::sim
