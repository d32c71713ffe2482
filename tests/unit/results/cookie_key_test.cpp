// The cookie key: from the environment, else from a file made once and then kept.
#include "results/cookie_key.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_folder.h"

namespace zeziza::results {
namespace {

TEST(CookieKey, FileIsMadeOnceOwnerOnlyAndReadAgain) {
  testing::TempFolder folder;
  const auto file = folder.path() / "results.key";
  const auto first = loadCookieKey(std::nullopt, file);
  EXPECT_EQ(loadCookieKey(std::nullopt, file), first);
  const auto permissions = std::filesystem::status(file).permissions();
  EXPECT_EQ(permissions & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  testing::TempFolder other;
  EXPECT_NE(loadCookieKey(std::nullopt, other.path() / "results.key"), first);
}

TEST(CookieKey, EnvironmentWinsAndMustBeAKey) {
  testing::TempFolder folder;
  const std::string hex(64, 'a');
  const auto key = loadCookieKey(hex, folder.path() / "unused.key");
  EXPECT_EQ(cookieKeyText(key), hex);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "unused.key"));
  for (const std::string& bad :
       {std::string(63, 'a'), std::string(66, 'a'), std::string(64, 'g'), std::string()}) {
    EXPECT_THROW(loadCookieKey(bad, folder.path() / "unused.key"), std::runtime_error) << bad;
  }
  const auto garbage = folder.path() / "garbage.key";
  std::ofstream(garbage) << "not a key\n";
  EXPECT_THROW(loadCookieKey(std::nullopt, garbage), std::runtime_error);
}

}  // namespace
}  // namespace zeziza::results
