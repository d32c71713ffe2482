#include "web/work_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <latch>
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
