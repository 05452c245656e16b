// A recording replaces the earlier file only once it is written whole, and a
// link to it stays a link.

#ifndef _WIN32

#include <gtest/gtest.h>

#include <fstream>

#include "platform/files.h"
#include "tests/support/harness.h"

namespace {

using testing_support::ReadFile;
using testing_support::ScratchDirectory;

TEST(ReplacingFile, TheFileBehindALinkIsReplacedOnlyOnCommit) {
  ScratchDirectory dir;
  std::ofstream("pack.json") << "earlier";
  std::filesystem::create_symlink("pack.json", "link.json");
  {
    platform::ReplacingFile given_up;
    ASSERT_TRUE(given_up.Prepare("link.json"));
    EXPECT_TRUE(given_up.Write("new", 3));
  }
  EXPECT_EQ(ReadFile("pack.json"), "earlier");
  platform::ReplacingFile file;
  ASSERT_TRUE(file.Prepare("link.json"));
  EXPECT_TRUE(file.Write("new", 3));
  EXPECT_TRUE(file.Commit());
  EXPECT_TRUE(std::filesystem::is_symlink("link.json"));
  EXPECT_EQ(ReadFile("pack.json"), "new");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 2) << "no new file is left beside it";
  platform::ReplacingFile directory;
  EXPECT_FALSE(directory.Prepare("."));
}

}  // namespace

#endif
