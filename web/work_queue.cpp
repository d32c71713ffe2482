#include "web/work_queue.h"

#include <algorithm>

namespace zeziza::web {

WorkQueue::WorkQueue(std::size_t workers, std::size_t maxQueuedPerKey)
    : maxQueuedPerKey_(maxQueuedPerKey) {
  for (std::size_t i = 0; i < std::max<std::size_t>(workers, 1); ++i) {
    threads_.emplace_back([this] { work(); });
  }
}

WorkQueue::~WorkQueue() {
  stop();
}

bool WorkQueue::submit(const std::string& key, Job job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return false;
    auto& queue = waiting_[key];
    if (queue.size() >= maxQueuedPerKey_) return false;
    queue.push_back(std::move(job));
    // A key enters the turns once: when it gets its first job and none of its jobs runs.
    if (queue.size() == 1 && !running_.contains(key)) turns_.push_back(key);
  }
  wake_.notify_one();
  return true;
}

void WorkQueue::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (auto& t : threads_) {
    if (t.joinable()) t.join();
  }
}

void WorkQueue::work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !turns_.empty(); });
    if (turns_.empty()) return;  // stopping, and nothing left to run
    const std::string key = std::move(turns_.front());
    turns_.pop_front();
    auto it = waiting_.find(key);
    Job job = std::move(it->second.front());
    it->second.pop_front();
    if (it->second.empty()) waiting_.erase(it);
    ++running_[key];
    lock.unlock();
    try {
      job();
    } catch (...) {
      // A job answers its own request; nothing may end the worker.
    }
    lock.lock();
    running_.erase(key);
    if (waiting_.contains(key)) {
      turns_.push_back(key);  // its next job waits for a turn behind the other keys
      wake_.notify_one();
    }
  }
}

std::size_t pageWorkerCount() {
  return std::max(32u, 16 * std::thread::hardware_concurrency());
}

}  // namespace zeziza::web
