// One publishing step at a time, and whose preparation the scratch table holds.
#include "cloud/publish_lock.h"

#include <gtest/gtest.h>

namespace zeziza::cloud {
namespace {

TEST(PublishLease, OneHolderAtATime) {
  PublishLock lock;
  auto first = lock.tryAcquire();
  ASSERT_TRUE(first);
  EXPECT_FALSE(lock.tryAcquire());
  PublishLock other;  // each lock guards its own scratch table
  EXPECT_TRUE(other.tryAcquire());
  auto moved = std::move(*first);
  first.reset();  // the moved-from lease gives nothing back
  EXPECT_FALSE(lock.tryAcquire());
  { auto gone = std::move(moved); }
  EXPECT_TRUE(lock.tryAcquire());
}

TEST(PublishLease, PreparationNumbers) {
  PublishLock lock;
  auto lease = lock.tryAcquire();
  ASSERT_TRUE(lease);
  const auto a = lease->markPrepared();
  EXPECT_EQ(lock.currentPreparation(), a);
  lease->discardPreparation();
  EXPECT_EQ(lock.currentPreparation(), 0u);
  const auto b = lease->markPrepared();
  EXPECT_NE(a, b);
  EXPECT_EQ(lock.currentPreparation(), b);
}

}  // namespace
}  // namespace zeziza::cloud
