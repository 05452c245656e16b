#include "tests/reports/bq40z/rig.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace bq40z_tests {

using namespace testing_support;

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

Rig::Rig(const std::string& profile)
    : test_(Battery(profile), [this](platform::Console& captured) {
        return std::make_unique<RecordingConsole>(*this, captured);
      }) {}

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

std::string Sep() { return std::string(M) + Dashes(39) + "\n"; }

std::string MbrTrace(int subcommand, const std::string& reply_data_bytes) {
  char request[16];
  std::snprintf(request, sizeof request, " %02x %02x", subcommand & 0xFF, (subcommand >> 8) & 0xFF);
  const std::size_t count = 2 + reply_data_bytes.size() / 3;
  return std::string("wb 44") + request + "\nsleep 5\nrb 44 -> " + std::to_string(count) + request +
         reply_data_bytes + "\nsleep 5\n";
}

}  // namespace bq40z_tests
