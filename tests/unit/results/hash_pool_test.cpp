// The hash pool: work runs on its own threads, no more at once than it has, and a failure
// reaches the caller.
#include "results/hash_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <stdexcept>

namespace zeziza::results {
namespace {

TEST(HashPool, RunsOnItsOwnThreadsAtMostTheirNumberAtOnce) {
  HashPool pool(2);
  std::atomic<int> running{0}, most{0};
  std::mutex mutex;
  std::set<std::thread::id> used, callerIds;
  std::vector<std::thread> callers;
  for (int i = 0; i < 8; ++i) {
    callers.emplace_back([&] {
      {
        std::lock_guard lock(mutex);
        callerIds.insert(std::this_thread::get_id());
      }
      pool.run([&] {
        const int now = ++running;
        int seen = most;
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        {
          std::lock_guard lock(mutex);
          used.insert(std::this_thread::get_id());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        --running;
      });
    });
  }
  for (auto& t : callers) t.join();
  EXPECT_LE(most, 2);
  EXPECT_LE(used.size(), 2u);
  for (const auto& id : used) EXPECT_FALSE(callerIds.contains(id));
}

TEST(HashPool, AFailureIsThrownToTheCallerAndThePoolGoesOn) {
  HashPool pool(1);
  EXPECT_THROW(pool.run([] { throw std::runtime_error("no memory for the hash"); }),
               std::runtime_error);
  int value = 0;
  pool.run([&] { value = 7; });
  EXPECT_EQ(value, 7);
}

}  // namespace
}  // namespace zeziza::results
