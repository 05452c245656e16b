// The vendor adapter library loaded at run time.

#include <gtest/gtest.h>

#include <cstdlib>

#include "link/adapter_choice.h"
#include "link/vendor/vendor_adapter.h"

namespace {

using smb::vendor::VendorAdapter;

TEST(VendorLibrary, TheEightOperationsReachTheLibrary) {
#ifdef _WIN32
  _putenv_s("FAKE_SMBUSB_PROFILE", "bq40z50");
#else
  setenv("FAKE_SMBUSB_PROFILE", "bq40z50", 1);
#endif
  VendorAdapter adapter(FAKE_VENDOR_LIBRARY);
  EXPECT_EQ(adapter.OpenDeviceVIDPID(0x04B4, 0x8613), 197121);
  EXPECT_EQ(adapter.OpenDeviceVIDPID(0x04B4, 0x1234), -1000) << "the library sees the IDs as passed";
  EXPECT_EQ(adapter.InterfaceID(), 0x4D5355);
  EXPECT_EQ(adapter.ReadWord(0x16, 0x0D), 85);
  EXPECT_EQ(adapter.ReadWord(0x14, 0x0D), -9) << "the library sees the address as passed";
  std::vector<std::uint8_t> reply;
  EXPECT_EQ(adapter.ReadBlock(0x16, 0x21, reply), 7);
  EXPECT_EQ(std::string(reply.begin(), reply.end()), "bq40z50");
  const std::uint8_t request[2] = {0x54, 0x00};
  adapter.WriteBlock(0x16, 0x44, request, 2);
  const int count = adapter.ReadBlock(0x16, 0x44, reply);
  ASSERT_GE(count, 2);
  EXPECT_EQ(reply[0], 0x54);
  EXPECT_EQ(reply[1], 0x00);
  EXPECT_EQ(adapter.EnablePEC(1), 0);
  adapter.CloseDevice();
}

TEST(VendorLibrary, AMissingLibraryOrOperationIsAStartUpError) {
  try {
    VendorAdapter adapter("/nonexistent/libsmbusb.so");
    FAIL() << "loaded";
  } catch (const smb::AdapterChoiceError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("adapter library /nonexistent/libsmbusb.so cannot be loaded: ", 0), 0u)
        << error.what();
  }
  try {
    VendorAdapter adapter(FAKE_VENDOR_LIBRARY_PARTIAL);
    FAIL() << "loaded";
  } catch (const smb::AdapterChoiceError& error) {
    EXPECT_EQ(std::string(error.what()),
              std::string("adapter library ") + FAKE_VENDOR_LIBRARY_PARTIAL + ": the operation SMBEnablePEC is missing");
  }
}

TEST(AdapterChoice, PrefixesChooseTheBackend) {
  EXPECT_NO_THROW(smb::MakeAdapter(nullptr, nullptr));
  EXPECT_NO_THROW(smb::MakeAdapter("", nullptr));
  EXPECT_NO_THROW(smb::MakeAdapter("sim", nullptr));
  EXPECT_NO_THROW(smb::MakeAdapter("sim:absent", nullptr));
#ifndef _WIN32
  EXPECT_NO_THROW(smb::MakeAdapter("i2c:3", nullptr)) << "the bus is opened only by the adapter check";
  EXPECT_THROW(smb::MakeAdapter("i2c", nullptr), smb::AdapterChoiceError);
  EXPECT_TRUE(smb::MakeAdapter("i2c:3", nullptr)->PacedInRealTime());
#endif
  EXPECT_NO_THROW(smb::MakeAdapter((std::string("libsmbusb:") + FAKE_VENDOR_LIBRARY).c_str(), nullptr));
  EXPECT_THROW(smb::MakeAdapter("simulated", nullptr), smb::AdapterChoiceError);
  EXPECT_TRUE(smb::MakeAdapter("sim", "1")->PacedInRealTime());
  EXPECT_FALSE(smb::MakeAdapter("sim", "0")->PacedInRealTime());
}

}  // namespace
