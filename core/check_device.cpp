#include <cstdint>
#include <cstdio>

#include "core/discovery.h"
#include "platform/files.h"

namespace core {

namespace {

constexpr const char* kBudgetFile = "CountSRCHadp.bin";
constexpr int kDefaultBudget = 10;

// The message keeps the Cyrillic letter that the program has always shown.
void CannotWriteBudgetFile(Program& p, int colour) {
  p.con.Print(colour, "      Error opening file CountSRСHadp.bin");
  p.con.NewLine();
}

void FileErrorBlock(Program& p) {
  p.con.Print(Red, "-------------------------------------------------");
  p.con.NewLine();
  p.con.Print(Red, "       Error opening file ");
  p.con.Print(Yellow, "CountSRCHadp.bin");
  p.con.NewLine();
  p.con.Dashes(Cyan, 49);
}

// Reads the 2-byte record; false when the file is missing.
bool ReadRecord(std::uint8_t (&record)[2]) {
  std::FILE* file = platform::OpenRegularFile(kBudgetFile);
  if (file == nullptr) return false;
  [[maybe_unused]] const std::size_t got = std::fread(record, 1, sizeof record, file);
  std::fclose(file);
  return true;
}

}  // namespace

int CountSRCHadp(Program& p, int mode) {
  std::uint8_t record[2] = {0, 0};
  int budget = 0;
  if (mode == 0) {
    if (ReadRecord(record)) {
      budget = record[0];
      p.SrchADP = budget;
      return budget;
    }
    FileErrorBlock(p);
    budget = kDefaultBudget;
    record[0] = kDefaultBudget;
  } else if (mode > 0) {
    std::uint8_t ignored[2] = {0, 0};
    if (!ReadRecord(ignored)) FileErrorBlock(p);
    record[0] = static_cast<std::uint8_t>(mode & 0xFF);
    budget = record[0];
  } else {
    if (ReadRecord(record)) {
      record[0] = static_cast<std::uint8_t>(record[0] - 1);
    } else {
      FileErrorBlock(p);
      record[0] = kDefaultBudget;
    }
    budget = record[0];
  }
  if (!platform::RewriteRegularFile(kBudgetFile, record, sizeof record)) {
    CannotWriteBudgetFile(p, Cyan);
    p.con.SetColour(Red);
    return -2;
  }
  return budget;
}

namespace {

enum class Outcome { Success, FailurePass, CloseAndReopen, RestartAndFailurePass, Reopen };
enum class IdRule { Equal, Different, Any };

struct Classification {
  bool (*result_matches)(int result);
  IdRule id;
  Outcome outcome;
};

// First matching row wins.
const Classification kOpenResults[] = {
    {[](int r) { return r > 0; }, IdRule::Equal, Outcome::Success},
    {[](int r) { return r == smb::kNotAcknowledged; }, IdRule::Different, Outcome::FailurePass},
    {[](int r) { return r == smb::kOpenReopen; }, IdRule::Equal, Outcome::CloseAndReopen},
    {[](int r) { return r == smb::kOpenReopen; }, IdRule::Different, Outcome::RestartAndFailurePass},
    {[](int r) { return r == smb::kOpenRestart; }, IdRule::Different, Outcome::RestartAndFailurePass},
    {[](int r) { return r <= 0; }, IdRule::Any, Outcome::FailurePass},
    {[](int r) { return r > 0; }, IdRule::Different, Outcome::Reopen},
};
constexpr std::size_t kFirstRow = 0;
constexpr std::size_t kRowAfterRestart = 4;  // the kOpenRestart row

Outcome Classify(int result, int id, std::size_t first_row) {
  const bool equal = id == smb::kAdapterInterfaceId;
  for (std::size_t row = first_row; row < std::size(kOpenResults); ++row) {
    const Classification& c = kOpenResults[row];
    const bool id_matches = c.id == IdRule::Any || (c.id == IdRule::Equal) == equal;
    if (c.result_matches(result) && id_matches) return c.outcome;
  }
  return Outcome::FailurePass;
}

int OpenAdapter(Program& p) { return p.bus.SMBOpenDeviceVIDPID(smb::kAdapterVendorId, smb::kAdapterProductId); }

void AttemptScreen(Program& p) {
  p.con.ClearScreen();
  p.con.Dashes(Magenta, 52);
  p.con.Print(Green, "               Vantrel\n");
  p.con.NewLine();
  p.con.Print(Cyan, "                      PAUSE...\n");
  p.con.NewLine();
}

void Success(Program& p) {
  p.con.Dashes(Magenta, 52);
  const unsigned version = static_cast<unsigned>(p.status);
  p.con.Print(Yellow, "          SMBusb Firmware Version: %d.%d.%d\n", static_cast<int>(version & 0xFF),
              static_cast<int>((version >> 8) & 0xFF), static_cast<int>((version >> 16) & 0xFF));
  p.con.Print(Magenta, "----------------------------------------------------\n");
  p.con.NewLine();
  p.SrchADP = CountSRCHadp(p, kDefaultBudget);
}

void FailurePass(Program& p) {
  p.SrchADP = CountSRCHadp(p, 0);
  if (p.SrchADP == -2) CannotWriteBudgetFile(p, Red);
  p.con.Print(Magenta, "----------------------------------------------------\n");
  p.con.NewLine();
  p.con.Print(Cyan, "           Adapter ");
  p.con.Print(White, "FX2LP ");
  p.con.Print(Red, "NOT in SYSTEM !!!\n");
  p.con.NewLine();
  p.con.Print(Yellow, "           Please Connect Adapter FX2LP...\n");
  p.con.NewLine();
  p.con.Print(Magenta, "----------------------------------------------------\n");
  p.con.NewLine();
  p.con.Print(Cyan, "          NUMBER %u  ", static_cast<unsigned>(p.SrchADP));
  p.con.Print(Red, "Search Adapter FX2LP...\n");
  p.con.NewLine();
  p.con.Print(Magenta, "----------------------------------------------------\n");
  p.con.NewLine();
  if (p.SrchADP == 0) {
    CountSRCHadp(p, kDefaultBudget);
    p.Beep(380, 500);
    throw ProgramEnd{0};
  }
  p.SrchADP = CountSRCHadp(p, -1);
  p.Beep(380, 500);
  p.Sleep(1000);
}

}  // namespace

void CheckDevice(Program& p) {
  bool restart = false;
  for (;;) {
    AttemptScreen(p);
    p.status = OpenAdapter(p);
    int id = 0;
    Outcome outcome = Outcome::FailurePass;
    if (p.status != smb::kOpenNoAdapter) {
      id = p.bus.SMBInterfaceID();
      outcome = Classify(p.status, id, kFirstRow);
    }
    for (;;) {
      switch (outcome) {
        case Outcome::CloseAndReopen:
          p.bus.SMBCloseDevice();
          p.status = OpenAdapter(p);
          Success(p);
          return;
        case Outcome::Reopen:
          p.status = OpenAdapter(p);
          Success(p);
          return;
        case Outcome::Success:
          Success(p);
          return;
        case Outcome::RestartAndFailurePass:
          restart = true;
          FailurePass(p);
          break;
        case Outcome::FailurePass:
          FailurePass(p);
          break;
      }
      if (!restart) break;
      // The restart script is expected to replace this instance; until the
      // budget is spent the same open result is judged again.
      p.RunRestart();
      outcome = Classify(p.status, id, kRowAfterRestart);
    }
  }
}

}  // namespace core
