#include "web/work_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <latch>
#include <mutex>
#include <thread>

namespace zeziza::testing {
namespace {

// One worker held by a job of key "a" while the others queue up.
class HeldWorkerTest : public ::testing::Test {
 protected:
  HeldWorkerTest() {
    queue.submit("a", [this] {
      started.set_value();
      held.get_future().wait();
    });
    started.get_future().wait();  // the worker holds it and waits no more
  }
  ~HeldWorkerTest() override {
    release();
    queue.stop();
  }
  void release() {
    if (!released) held.set_value();
    released = true;
  }
  std::function<void()> record(std::string name) {
    return [this, name] {
      std::lock_guard lock(mutex);
      order.push_back(name);
    };
  }

  std::promise<void> started;
  std::promise<void> held;
  bool released = false;
  std::mutex mutex;
  std::vector<std::string> order;
  web::WorkQueue queue{1, 2};
};

TEST_F(HeldWorkerTest, KeysTakeTurnsSoABusyOneCannotStarveTheRest) {
  EXPECT_TRUE(queue.submit("a", record("a2")));
  EXPECT_TRUE(queue.submit("a", record("a3")));
  EXPECT_TRUE(queue.submit("b", record("b1")));
  EXPECT_TRUE(queue.submit("c", record("c1")));
  release();
  queue.stop();  // runs what is queued
  EXPECT_EQ(order, (std::vector<std::string>{"b1", "c1", "a2", "a3"}));
}

TEST_F(HeldWorkerTest, AKeyWithTooManyWaitingJobsIsRefusedOthersAreNot) {
  EXPECT_TRUE(queue.submit("a", record("a2")));
  EXPECT_TRUE(queue.submit("a", record("a3")));
  EXPECT_FALSE(queue.submit("a", record("a4")));
  EXPECT_TRUE(queue.submit("b", record("b1")));
  release();
  queue.stop();
  EXPECT_FALSE(queue.submit("b", record("late")));  // stopped
  EXPECT_EQ(order, (std::vector<std::string>{"b1", "a2", "a3"}));
}

TEST(WorkQueue, JobsOfOneKeyNeverRunAtOnceJobsOfManyDo) {
  web::WorkQueue queue{4, 1000};
  std::atomic<int> running{0};
  std::atomic<int> mostAtOnce{0};
  std::atomic<int> done{0};
  auto job = [&] {
    const int now = ++running;
    int seen = mostAtOnce;
    while (now > seen && !mostAtOnce.compare_exchange_weak(seen, now)) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    --running;
    ++done;
  };
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(queue.submit("one session", job));
  queue.stop();
  EXPECT_EQ(done, 40);
  EXPECT_EQ(mostAtOnce, 1);
}

// Costly jobs beyond the limit wait in line without a worker; cheap jobs pass them, and the
// line moves on as each costly job ends.
TEST(WorkQueue, CostlyJobsRunAtMostTheLimitAtOnceAndCheapOnesPassThem) {
  web::WorkQueue queue{4, 10};
  queue.limitCostly(1);
  std::promise<void> firstStarted, release;
  const std::shared_future<void> released = release.get_future().share();
  std::atomic<int> costlyAtOnce{0}, mostCostly{0};
  std::mutex mutex;
  std::vector<std::string> order;
  auto costly = [&](std::string name, bool hold) {
    return [&, name, hold, released] {
      const int now = ++costlyAtOnce;
      int seen = mostCostly;
      while (now > seen && !mostCostly.compare_exchange_weak(seen, now)) {
      }
      if (hold) {
        firstStarted.set_value();
        released.wait();
      }
      {
        std::lock_guard lock(mutex);
        order.push_back(name);
      }
      --costlyAtOnce;
    };
  };
  using Cost = web::WorkQueue::Cost;
  ASSERT_TRUE(queue.submit("s1", costly("hash1", true), Cost::Costly));
  firstStarted.get_future().wait();
  ASSERT_TRUE(queue.submit("s2", costly("hash2", false), Cost::Costly));
  ASSERT_TRUE(queue.submit("s3", costly("hash3", false), Cost::Costly));
  std::promise<void> viewed;
  ASSERT_TRUE(queue.submit("v1", [&] {
    {
      std::lock_guard lock(mutex);
      order.push_back("view");
    }
    viewed.set_value();
  }));
  viewed.get_future().wait();  // a free worker takes the view while hash2 and hash3 wait
  release.set_value();
  queue.stop();
  EXPECT_EQ(order, (std::vector<std::string>{"view", "hash1", "hash2", "hash3"}));
  EXPECT_EQ(mostCostly, 1);
}

// Workers start as jobs need them, up to the limit; those beyond the kept ones end after a
// quiet spell, and new work still finds a worker afterwards.
TEST(WorkQueue, WorkersComeWithWorkAndTheExtraOnesGoWhenIdle) {
  web::WorkQueue queue{4, 10, 1, std::chrono::milliseconds(20)};
  EXPECT_EQ(queue.workers(), 1u);
  std::latch allStarted(4);
  std::promise<void> release;
  const std::shared_future<void> released = release.get_future().share();
  for (const std::string key : {"a", "b", "c", "d"}) {
    ASSERT_TRUE(queue.submit(key, [&, released] {
      allStarted.count_down();
      released.wait();
    }));
  }
  allStarted.wait();  // four jobs at once: four workers
  EXPECT_EQ(queue.workers(), 4u);
  ASSERT_TRUE(queue.submit("e", [] {}));
  EXPECT_EQ(queue.workers(), 4u);  // the limit: a fifth job waits for one of them
  release.set_value();
  for (int i = 0; i < 500 && queue.workers() > 1u; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(queue.workers(), 1u);
  std::promise<void> ran;
  ASSERT_TRUE(queue.submit("f", [&] { ran.set_value(); }));
  ran.get_future().wait();
  queue.stop();
}

}  // namespace
}  // namespace zeziza::testing
