#include <gtest/gtest.h>

#include <fstream>

#include "host/cache_cleanup.h"
#include "host/options.h"
#include "tests/support/temp_folder.h"

namespace zeziza::host {
namespace {

TEST(CacheCleanup, FilesGoNestedFoldersStay) {
  testing::TempFolder temp;
  const auto cache = temp.path() / "cache";
  std::filesystem::create_directories(cache / "user" / "abc" / "deep");
  std::ofstream(cache / "top.xlsx") << "x";
  std::ofstream(cache / "user" / "abc" / "f.txt") << "x";
  std::ofstream(cache / "user" / "abc" / "deep" / " spaced .txt") << "x";
  std::ofstream(temp.path() / "outside.txt") << "keep";
  std::filesystem::create_symlink(temp.path(), cache / "link");

  cleanCacheFolder(cache);

  EXPECT_TRUE(std::filesystem::is_directory(cache / "user" / "abc" / "deep"));
  EXPECT_FALSE(std::filesystem::exists(cache / "top.xlsx"));
  EXPECT_FALSE(std::filesystem::exists(cache / "user" / "abc" / "f.txt"));
  EXPECT_FALSE(std::filesystem::exists(cache / "user" / "abc" / "deep" / " spaced .txt"));
  EXPECT_FALSE(std::filesystem::exists(cache / "link"));
  EXPECT_TRUE(std::filesystem::exists(temp.path() / "outside.txt"));  // links are not followed
}

TEST(CacheCleanup, AMissingFolderIsNoError) {
  testing::TempFolder temp;
  EXPECT_NO_THROW(cleanCacheFolder(temp.path() / "missing"));
}

TEST(Options, Switches) {
  const struct {
    std::vector<std::string> args;
    bool launch;
    bool minimize;
  } cases[] = {
      {{"-LaunchBrowser"}, true, false},
      {{"/launchbrowser"}, true, false},
      {{"-MINIMIZE"}, false, true},
      {{"/Minimize", "-launchBROWSER"}, true, true},
      {{}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "none" : c.args.front());
    const Options o = parseOptions(c.args);
    EXPECT_EQ(o.launchBrowser, c.launch);
    EXPECT_EQ(o.minimize, c.minimize);
    EXPECT_EQ(o.port, 81);
  }
}

TEST(Options, PortAndDataDir) {
  const Options o = parseOptions({"--port", "8081", "--data-dir=/srv/z"});
  EXPECT_EQ(o.port, 8081);
  EXPECT_EQ(o.dataDir, "/srv/z");
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--port", "x"},
                                              {"--port", "70000"},
                                              {"--port"},
                                              {"--bogus"},
                                              {"-Launch"}}) {
    SCOPED_TRACE(bad.front());
    EXPECT_THROW(parseOptions(bad), std::invalid_argument);
  }
}

}  // namespace
}  // namespace zeziza::host
