// One publishing step at a time, and whose preparation the scratch table holds.
#include "cloud/publish_lock.h"

#include <gtest/gtest.h>

namespace zeziza::cloud {
namespace {

TEST(PublishLease, OneHolderAtATime) {
  auto first = PublishLease::tryAcquire();
  ASSERT_TRUE(first);
  EXPECT_FALSE(PublishLease::tryAcquire());
  auto moved = std::move(*first);
  first.reset();  // the moved-from lease gives nothing back
  EXPECT_FALSE(PublishLease::tryAcquire());
  { auto gone = std::move(moved); }
  EXPECT_TRUE(PublishLease::tryAcquire());
}

TEST(PublishLease, PreparationNumbers) {
  auto lease = PublishLease::tryAcquire();
  ASSERT_TRUE(lease);
  const auto a = lease->markPrepared();
  EXPECT_EQ(PublishLease::currentPreparation(), a);
  lease->discardPreparation();
  EXPECT_EQ(PublishLease::currentPreparation(), 0u);
  const auto b = lease->markPrepared();
  EXPECT_NE(a, b);
  EXPECT_EQ(PublishLease::currentPreparation(), b);
}

}  // namespace
}  // namespace zeziza::cloud
