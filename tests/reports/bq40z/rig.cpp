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

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

Rig::Rig(const std::string& profile) {
  out_ = open_memstream(&out_data_, &out_size_);
  in_ = std::fopen("/dev/null", "r");
  platform::PosixConsoleSettings settings;
  settings.in = in_;
  settings.out = out_;
  settings.colour = true;
  console_ = std::make_unique<platform::PosixConsole>(settings);
  recording_ = std::make_unique<RecordingConsole>(*this, *console_);
  smb::sim::Profile parsed = !profile.empty() && profile[0] == '{' ? smb::sim::ParseProfile(profile, "test")
                                                                    : smb::sim::LoadProfile(profile);
  adapter_ = std::make_unique<smb::sim::SimAdapter>(std::move(parsed), false);
  trace_.Open((scratch_.path() / "trace.txt").string());
  bus_ = std::make_unique<smb::SMBus>(*adapter_, trace_);
  program_ = std::make_unique<core::Program>(*recording_, *bus_);
}

Rig::~Rig() {
  program_.reset();
  recording_.reset();
  console_.reset();
  std::fclose(out_);
  std::fclose(in_);
  std::free(out_data_);
}

void Rig::CatchUp() {
  std::fflush(out_);
  if (out_size_ > out_seen_) {
    merged_.append(out_data_ + out_seen_, out_size_ - out_seen_);
    out_seen_ = out_size_;
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

std::string Rig::Output() {
  std::fflush(out_);
  return std::string(out_data_, out_size_);
}

std::string Rig::TraceText() { return ReadFile((scratch_.path() / "trace.txt").string()); }

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
