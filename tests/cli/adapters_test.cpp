// vantrel adapters: the listing of i2c-dev buses, CP2112s and the vendor
// library, and the choice of a bus by its name.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

#include "cli/adapters.h"
#include "link/adapter.h"
#include "tests/support/harness.h"
#ifndef _WIN32
extern "C" {
#include <linux/i2c.h>
}

#include "link/i2c/i2c_buses.h"
#include "tests/fakes/fake_i2c_kernel.h"
#endif

namespace {

using namespace testing_support;
namespace fs = std::filesystem;

cli::AdapterList SomeAdapters() {
  cli::AdapterList list;
  smb::i2c::I2cBus bridge{7, "/dev/i2c-7", "CP2112 SMBus Bridge on hidraw0", 0x01000001UL, ""};
  smb::i2c::I2cBus denied{9, "/dev/i2c-9", "i915 gmbus dpb", std::nullopt, "Permission denied"};
  list.i2c = {bridge, denied};
  list.cp2112.chips = {{"0001A2B3", 2, ""}};
  list.vendor_library = "libsmbusb.so";
  list.vendor_error = "libsmbusb.so: cannot open shared object file";
  return list;
}

TEST(AdapterList, OneAdapterALineAndTheSameAsJson) {
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(cli::PrintAdapters(SomeAdapters(), false), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "i2c:7            CP2112 SMBus Bridge on hidraw0           PEC no, plain I2C yes, SMBus block yes\n"
            "i2c:9            i915 gmbus dpb                           cannot be opened: Permission denied\n"
            "cp2112:0001A2B3  CP2112, version 2\n"
            "libsmbusb        libsmbusb.so cannot be loaded: libsmbusb.so: cannot open shared object file\n");

  ::testing::internal::CaptureStdout();
  EXPECT_EQ(cli::PrintAdapters(SomeAdapters(), true), 0);
  const auto document = nlohmann::json::parse(::testing::internal::GetCapturedStdout());
  EXPECT_EQ(document["i2c"][0],
            nlohmann::json::parse(R"({"adapter": "i2c:7", "bus": 7, "device": "/dev/i2c-7",
              "name": "CP2112 SMBus Bridge on hidraw0", "pec": false, "plain_i2c": true, "smbus_block": true,
              "error": null})"));
  EXPECT_TRUE(document["i2c"][1]["pec"].is_null());
  EXPECT_EQ(document["i2c"][1]["error"], "Permission denied");
  EXPECT_EQ(document["cp2112"],
            nlohmann::json::parse(R"([{"adapter": "cp2112:0001A2B3", "serial": "0001A2B3", "version": 2, "error": null}])"));
  EXPECT_EQ(document["vendor_library"]["loads"], false);
}

TEST(AdapterList, NoneFoundExitsOneAndALoadingLibraryCounts) {
  cli::AdapterList none;
  none.vendor_library = "libsmbusb.so";
  none.vendor_error = "not found";
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(cli::PrintAdapters(none, false), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "libsmbusb        libsmbusb.so cannot be loaded: not found\n");
  none.vendor_error.clear();
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(cli::PrintAdapters(none, true), 0);
  ::testing::internal::GetCapturedStdout();
}

#ifndef _WIN32
TEST(I2cBuses, ListedByNumberWithTheirNamesAndFunctions) {
  ScratchDirectory dir;
  const fs::path sys = dir.path() / "class";
  const fs::path dev = dir.path() / "dev";
  fs::create_directories(sys / "i2c-12" / "device");
  fs::create_directories(sys / "i2c-7");
  fs::create_directories(sys / "i2c-3");
  fs::create_directories(sys / "i2c-x");
  fs::create_directories(dev);
  std::ofstream(sys / "i2c-12" / "device" / "name") << "SMBus I801 adapter at efa0\n";
  std::ofstream(sys / "i2c-7" / "name") << "CP2112 SMBus Bridge on hidraw0\n";
  std::ofstream(sys / "i2c-3" / "name") << "CP2112 SMBus Bridge on hidraw1\n";
  std::ofstream(dev / "i2c-7") << "";
  FakeI2cDevice fake(dev / "i2c-7", I2C_FUNC_I2C | I2C_FUNC_SMBUS_WORD_DATA, "{}");

  const auto buses = smb::i2c::ListI2cBuses(sys.string(), dev.string());
  ASSERT_EQ(buses.size(), 3u);
  EXPECT_EQ(buses[0].number, 3);
  EXPECT_EQ(buses[1].number, 7);
  EXPECT_EQ(buses[2].name, "SMBus I801 adapter at efa0") << "the adapter device's name when the bus has none";
  EXPECT_EQ(buses[1].functions, I2C_FUNC_I2C | I2C_FUNC_SMBUS_WORD_DATA);
  EXPECT_FALSE(buses[0].functions);
  EXPECT_EQ(buses[0].open_error, "No such file or directory");

  EXPECT_EQ(smb::i2c::BusNamed("CP2112 SMBus Bridge on hidraw0", buses), (dev / "i2c-7").string());
  EXPECT_EQ(smb::i2c::BusNamed("SMBus I801", buses), (dev / "i2c-12").string()) << "a unique prefix";
  try {
    smb::i2c::BusNamed("CP2112", buses);
    ADD_FAILURE() << "two names start so";
  } catch (const smb::AdapterChoiceError& e) {
    EXPECT_STREQ(e.what(), "i2c:CP2112: several buses have names starting so (i2c:N with N one of 3 7)");
  }
  EXPECT_THROW(smb::i2c::BusNamed("MCP2221", buses), smb::AdapterChoiceError);
}

TEST(AdaptersCommand, SaysWhetherTheVendorLibraryLoads) {
  ScratchDirectory dir;
  const RunResult r = RunBinary(
      dir.path(), {{"LD_LIBRARY_PATH", fs::path(FAKE_VENDOR_LIBRARY).parent_path().string()}}, "", {"adapters"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("libsmbusb        libsmbusb.so loads\n"), std::string::npos) << r.out;
  // Without the library: the exit status follows what this machine has.
  const RunResult json = RunBinary(dir.path(), {}, "", {"adapters", "--json"});
  const auto document = nlohmann::json::parse(json.out);
  EXPECT_EQ(document["vendor_library"]["loads"], false);
  EXPECT_EQ(json.exit_code, document["i2c"].empty() && document["cp2112"].empty() ? 1 : 0);
}

TEST(AdaptersCommand, ABadClockOrBusNameIsAConfigurationError) {
  ScratchDirectory dir;
  const RunResult clock =
      RunBinary(dir.path(), {{"SMBUS_CP2112_KHZ", "5"}}, "", {"detect", "--adapter", "cp2112:0001A2B3"});
  EXPECT_EQ(clock.exit_code, 2);
  EXPECT_EQ(clock.err, "vantrel: SMBUS_CP2112_KHZ=5: not a clock from 10 to 400 (kHz)\n");
  const RunResult bus = RunBinary(dir.path(), {}, "", {"detect", "--adapter", "i2c:No such bus here"});
  EXPECT_EQ(bus.exit_code, 2);
  EXPECT_EQ(bus.err, "vantrel: i2c:No such bus here: no i2c bus has this name (vantrel adapters lists them)\n");
}
#endif

}  // namespace
