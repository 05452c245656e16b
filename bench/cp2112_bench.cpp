// The CP2112 backend through the fake chip: the HID reports each bus
// operation takes, and the time of one whole bq40z report (its sleeps in
// virtual time, so the figure is the program's own cost).
//   build/cp2112_bench [RUNS]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

#include "link/cp2112/cp2112_adapter.h"
#include "reports/bq40z/bq40z.h"
#include "tests/fakes/fake_cp2112.h"
#include "tests/support/harness.h"
#include "tests/support/unpaced_adapter.h"

namespace {

using testing_support::FakeCp2112;
using testing_support::FakeCp2112Transport;

std::string Profile() {
  std::ifstream profile(std::string(VANTREL_SOURCE_DIR) + "/link/sim/profiles/bq40z50.json");
  return std::string((std::istreambuf_iterator<char>(profile)), {});
}

std::unique_ptr<smb::cp2112::Cp2112Adapter> Open(const std::shared_ptr<FakeCp2112>& chip) {
  auto adapter = std::make_unique<smb::cp2112::Cp2112Adapter>(
      std::make_unique<FakeCp2112Transport>(std::vector{chip}), "", 100000);
  adapter->OpenDeviceVIDPID(0, 0);
  adapter->EnablePEC(1);
  return adapter;
}

void Count(const char* operation, const std::shared_ptr<FakeCp2112>& chip, const std::function<void()>& run) {
  chip->sent.clear();
  chip->input_reports = 0;
  run();
  std::printf("%-40s %2d reports out, %2d in (%d request, %d status polls, %d forced reads)\n", operation,
              chip->SentTotal(), chip->input_reports, chip->sent[0x11] + chip->sent[0x14], chip->sent[0x15],
              chip->sent[0x12]);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
  auto chip = FakeCp2112Transport::Chip(Profile());
  chip->busy_polls = 0;
  auto adapter = Open(chip);
  std::vector<std::uint8_t> reply;
  const std::uint8_t request[2] = {0x00, 0x40};  // a data-flash row: 2 + 32 bytes
  std::printf("HID reports per bus operation, PEC on, the chip done at the first status poll\n"
              "(each poll answered busy adds one report each way):\n");
  Count("word read (0x0D)", chip, [&] { adapter->ReadWord(0x16, 0x0D); });
  Count("word write (0x00)", chip, [&] { adapter->WriteWord(0x16, 0x00, 0x0054); });
  Count("block read, 7 bytes (0x21)", chip, [&] { adapter->ReadBlock(0x16, 0x21, reply); });
  adapter->WriteBlock(0x16, 0x44, request, 2);
  Count("block read, 34 bytes (0x44)", chip, [&] { adapter->ReadBlock(0x16, 0x44, reply); });

  long long reports = 0;
  long long operations = 0;
  long long sleeps = 0;
  double best_ms = 1e9;
  for (int run = 0; run < runs; ++run) {
    auto report_chip = FakeCp2112Transport::Chip(Profile());
    report_chip->busy_polls = 0;
    testing_support::TestProgram t(std::make_unique<testing_support::UnpacedAdapter>(Open(report_chip)));
    report_chip->sent.clear();
    report_chip->input_reports = 0;
    const auto start = std::chrono::steady_clock::now();
    reports::bq40z(t.p());
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best_ms = std::min(best_ms, took.count());
    reports = report_chip->SentTotal() + report_chip->input_reports;
    const std::string trace = t.TraceText();
    operations = 0;
    for (std::size_t at = 0; at < trace.size(); at = trace.find('\n', at) + 1) {
      if (trace.compare(at, 3, "rw ") == 0 || trace.compare(at, 3, "rb ") == 0 || trace.compare(at, 3, "ww ") == 0 ||
          trace.compare(at, 3, "wb ") == 0) {
        ++operations;
      }
    }
    sleeps = t.p().virtual_milliseconds;
  }
  std::printf("\nOne bq40z report through the fake chip (best of %d): %.2f ms of the program's own time,\n"
              "%lld bus operations, %lld HID reports (%.1f per operation), %lld ms of the report's own sleeps.\n"
              "On a real chip each report is about one USB frame (1 ms at full speed): about %lld ms more.\n",
              runs, best_ms, operations, reports, operations > 0 ? static_cast<double>(reports) / operations : 0.0,
              sleeps, reports);
  return 0;
}
