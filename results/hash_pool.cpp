#include "results/hash_pool.h"

#include <algorithm>
#include <future>

namespace zeziza::results {

HashPool::HashPool(unsigned threads) {
  for (unsigned i = 0; i < std::max(threads, 1u); ++i) threads_.emplace_back([this] { serve(); });
}

HashPool::~HashPool() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  queued_.notify_all();
}

void HashPool::run(const std::function<void()>& work) {
  std::packaged_task<void()> task(work);
  auto done = task.get_future();
  {
    const std::lock_guard lock(mutex_);
    jobs_.emplace_back([&task] { task(); });
  }
  queued_.notify_one();
  done.get();
}

void HashPool::serve() {
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) return;  // stopping
    auto job = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    job();  // a packaged task: it keeps its exception for the caller
    lock.lock();
  }
}

}  // namespace zeziza::results
