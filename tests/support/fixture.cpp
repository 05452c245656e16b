#include "tests/support/fixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "link/sim/builtin_profiles.h"
#include "link/sim/sim_adapter.h"

namespace testing_support {

std::string Profile(const std::string& name, const nlohmann::json& edits) {
  for (const auto& profile : smb::sim::BuiltinProfiles()) {
    if (name != profile.name) continue;
    nlohmann::json json = nlohmann::json::parse(profile.json);
    for (const auto& [pointer, value] : edits.items()) json[nlohmann::json::json_pointer(pointer)] = value;
    return json.dump();
  }
  throw std::runtime_error("no built-in profile " + name);
}

class Rig::RecordingConsole : public platform::Console {
 public:
  RecordingConsole(Rig& rig, platform::Console& inner) : rig_(rig), inner_(inner) {}
  void SetColour(int colour) override { Around([&] { inner_.SetColour(colour); }); }
  void Write(const char* bytes, std::size_t count) override { Around([&] { inner_.Write(bytes, count); }); }
  void WriteBatteryText(const std::uint8_t* bytes, std::size_t count) override {
    Around([&] { inner_.WriteBatteryText(bytes, count); });
  }
  void ClearScreen() override { Around([&] { inner_.ClearScreen(); }); }
  void Pause() override { Around([&] { inner_.Pause(); }); }
  void Beep(int frequency, int milliseconds, bool take_time) override {
    Around([&] { inner_.Beep(frequency, milliseconds, take_time); });
  }
  void PlaceWindow() override {}
  void Flush() override { inner_.Flush(); }
  void Finish() override { inner_.Finish(); }
  void FinishFromSignalHandler() override {}
  int ReadChar() override { return inner_.ReadChar(); }
  std::string ReadWord() override { return inner_.ReadWord(); }

 private:
  template <typename F>
  void Around(F&& call) {
    rig_.CatchUp();
    call();
    rig_.CatchUp();
  }
  Rig& rig_;
  platform::Console& inner_;
};

namespace {

std::unique_ptr<smb::Adapter> Battery(const std::string& profile) {
  smb::sim::Profile parsed = !profile.empty() && profile[0] == '{' ? smb::sim::ParseProfile(profile, "test")
                                                                    : smb::sim::LoadProfile(profile);
  return std::make_unique<smb::sim::SimAdapter>(std::move(parsed), false);
}

}  // namespace

Rig::Rig(const std::string& profile) : Rig(Battery(profile)) {}

Rig::Rig(std::unique_ptr<smb::Adapter> adapter)
    : test_(std::move(adapter),
            [this](platform::Console& captured) { return std::make_unique<RecordingConsole>(*this, captured); }) {}

void Rig::CatchUp() {
  const std::string output = test_.Output();
  if (output.size() > out_seen_) {
    merged_.append(output, out_seen_, std::string::npos);
    out_seen_ = output.size();
  }
  const std::string trace = TraceText();
  std::size_t start = trace_seen_;
  while (start < trace.size()) {
    const std::size_t end = trace.find('\n', start);
    if (end == std::string::npos) break;
    merged_ += "{" + trace.substr(start, end - start) + "}";
    start = end + 1;
  }
  trace_seen_ = start;
}

std::string Rig::Merged() {
  CatchUp();
  return merged_;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void ExpectContainsEach(const std::string& text, std::initializer_list<std::string> parts) {
  for (const std::string& part : parts) EXPECT_TRUE(Contains(text, part)) << part;
}

std::string Sep(const char* colour, int width) { return colour + Dashes(width) + "\n"; }

std::span<const reports::RegisterLine> OnlyRow(std::span<const reports::RegisterLine> rows, int reg) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].reg == reg) return rows.subspan(i, 1);
  }
  ADD_FAILURE() << "no row for register " << reg;
  return rows;
}

}  // namespace testing_support
