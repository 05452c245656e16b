#include "tests/support/gauge_writes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace testing_support {

namespace {

// Shutdown, reset, ROM mode, permanent-failure data, lifetime data, fuses, keys.
const int kForbidden[] = {0x0010, 0x0011, 0x0F00, 0x0033, 0x0041, 0x0024, 0x0028, 0x0029, 0x001D, 0x0035};

bool Forbidden(int value) {
  return std::find(std::begin(kForbidden), std::end(kForbidden), value) != std::end(kForbidden);
}

}  // namespace

std::vector<std::string> WriteLines(const std::string& trace) {
  std::vector<std::string> writes;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("ww ", 0) == 0 || line.rfind("wb ", 0) == 0) writes.push_back(line);
  }
  return writes;
}

std::vector<std::string> GaugeCommandLines(const std::string& trace, int allowed) {
  std::vector<std::string> found;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("refused", 0) == 0) found.push_back(line);
    if (line.rfind("ww 00 ", 0) != 0) continue;
    const int value = std::stoi(line.substr(6), nullptr, 16);
    if (((value >= 0x0010 && value <= 0x004F) || value == 0x0F00) && value != allowed) found.push_back(line);
  }
  return found;
}

void ExpectOnlyDocumentedWrites(const std::string& trace) {
  for (const std::string& line : WriteLines(trace)) {
    std::istringstream fields(line);
    std::string kind, command;
    fields >> kind >> command;
    std::vector<int> values;
    for (std::string field; fields >> field;) values.push_back(std::stoi(field, nullptr, 16));
    if (kind == "ww") {
      EXPECT_EQ(command, "00") << line;
      ASSERT_EQ(values.size(), 1u) << line;
      EXPECT_FALSE(Forbidden(values[0])) << line;
    } else {
      EXPECT_EQ(command, "44") << line;
      // A third byte would turn the request into a flash write.
      ASSERT_EQ(values.size(), 2u) << line;
      EXPECT_FALSE(Forbidden(values[0] + 256 * values[1])) << line;
    }
  }
}

RunResult RunOnGauge(const std::filesystem::path& directory, const std::string& profile,
                     const std::vector<std::string>& args) {
  std::string adapter = "sim:" + profile;
  if (profile.front() == '{') {
    std::ofstream(directory / "pack.json") << profile;
    adapter = "sim:pack.json";
  }
  std::filesystem::remove(directory / "trace.txt");  // a run that never opens it leaves none
  const RunResult r = RunBinary(directory, {{"SMBUS_ADAPTER", adapter}}, "", args);
  ExpectOnlyDocumentedWrites(r.trace);
  return r;
}

}  // namespace testing_support
