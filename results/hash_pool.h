#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zeziza::results {

// The threads that compute password hashes, one a core. A hash takes 19 MiB for tens of
// milliseconds; on threads of their own that memory is reused from one hash to the next,
// where on whichever request thread came along it was mapped and faulted in afresh each time.
class HashPool {
 public:
  explicit HashPool(unsigned threads);
  ~HashPool();
  HashPool(const HashPool&) = delete;
  HashPool& operator=(const HashPool&) = delete;

  // Runs `work` on one of the pool's threads and waits for it; its exception is rethrown here.
  void run(const std::function<void()>& work);

 private:
  void serve();

  std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<std::function<void()>> jobs_;
  bool stopping_ = false;
  std::vector<std::jthread> threads_;
};

}  // namespace zeziza::results
