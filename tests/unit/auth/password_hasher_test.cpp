#include "auth/password_hasher.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using zeziza::auth::PasswordHasher;

TEST(PasswordHasher, StoresArgon2idWithAtLeastTheMinimumCost) {
  PasswordHasher hasher;
  const std::string stored = hasher.hash("秘密 pass");
  EXPECT_EQ(stored.rfind("$argon2id$", 0), 0u) << stored;
  EXPECT_NE(stored.find("m=19456,t=2"), std::string::npos) << stored;
  EXPECT_EQ(stored.find("秘密"), std::string::npos);
  // A fresh salt every time: equal passwords do not give equal hashes.
  EXPECT_NE(hasher.hash("秘密 pass"), stored);
}

TEST(PasswordHasher, MatchesOnlyTheExactPassword) {
  PasswordHasher hasher;
  const std::string stored = hasher.hash("Abc 123");
  struct Case {
    std::string typed;
    bool matches;
  };
  const std::vector<Case> cases = {
      {"Abc 123", true},   {"abc 123", false}, {"ABC 123", false}, {"Abc 123 ", false},
      {" Abc 123", false}, {"Abc123", false},  {"", false},        {"' or '1'='1", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(hasher.verify(stored, c.typed), c.matches);
  }
}

TEST(PasswordHasher, EmptyPasswordRoundTrips) {
  PasswordHasher hasher;
  const std::string stored = hasher.hash("");
  EXPECT_TRUE(hasher.verify(stored, ""));
  EXPECT_FALSE(hasher.verify(stored, " "));
}

TEST(PasswordHasher, TextThatIsNoHashNeverMatches) {
  PasswordHasher hasher;
  const std::vector<std::string> stored = {"", "secret", "$argon2id$", std::string(200, 'x')};
  for (const auto& s : stored) {
    SCOPED_TRACE(s);
    EXPECT_FALSE(hasher.verify(s, s));
    EXPECT_FALSE(hasher.verify(s, ""));
  }
}

TEST(PasswordHasher, ManyThreadsThroughOneSlotAllGetTheirHash) {
  PasswordHasher hasher(1);
  EXPECT_EQ(hasher.slots(), 1u);
  std::vector<std::string> results(4);
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < results.size(); ++i) {
    threads.emplace_back([&, i] { results[i] = hasher.hash("pw" + std::to_string(i)); });
  }
  for (auto& t : threads) t.join();
  for (std::size_t i = 0; i < results.size(); ++i) {
    EXPECT_TRUE(hasher.verify(results[i], "pw" + std::to_string(i)));
    EXPECT_FALSE(hasher.verify(results[i], "pw" + std::to_string((i + 1) % results.size())));
  }
}

TEST(PasswordHasher, DefaultsToOneSlotPerHardwareThread) {
  PasswordHasher hasher;
  EXPECT_EQ(hasher.slots(), std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace
