#include "web/work_queue.h"

#include <algorithm>

namespace zeziza::web {

WorkQueue::WorkQueue(std::size_t workers, std::size_t maxQueuedPerKey, std::size_t kept,
                     std::chrono::milliseconds idleEnd)
    : maxWorkers_(std::max<std::size_t>(workers, 1)),
      maxQueuedPerKey_(maxQueuedPerKey),
      kept_(std::min(kept, maxWorkers_)),
      idleEnd_(idleEnd) {
  std::lock_guard lock(mutex_);
  while (threads_.size() < kept_) startWorkerLocked();
}

WorkQueue::~WorkQueue() {
  stop();
}

void WorkQueue::startWorkerLocked() {
  const auto self = threads_.emplace(threads_.end());
  *self = std::thread([this, self] { work(self); });  // it waits for the lock held here
}

bool WorkQueue::submit(const std::string& key, Job job) {
  Threads ended;
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return false;
    auto& queue = waiting_[key];
    if (queue.size() >= maxQueuedPerKey_) return false;
    queue.push_back(std::move(job));
    // A key enters the turns once: when it gets its first job and none of its jobs runs.
    if (queue.size() == 1 && !running_.contains(key)) turns_.push_back(key);
    if (turns_.size() > idle_ && threads_.size() < maxWorkers_) startWorkerLocked();
    ended.swap(ended_);
  }
  wake_.notify_one();
  for (auto& t : ended) t.join();
  return true;
}

void WorkQueue::stop() {
  Threads all;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    all.splice(all.end(), threads_);  // no worker moves itself once stopping
    all.splice(all.end(), ended_);
  }
  wake_.notify_all();
  for (auto& t : all) {
    if (t.joinable()) t.join();
  }
}

std::size_t WorkQueue::workers() const {
  std::lock_guard lock(mutex_);
  return threads_.size();
}

void WorkQueue::work(Threads::iterator self) {
  std::unique_lock lock(mutex_);
  for (;;) {
    ++idle_;
    const bool ready =
        wake_.wait_for(lock, idleEnd_, [this] { return stopping_ || !turns_.empty(); });
    --idle_;
    if (!ready) {
      if (threads_.size() <= kept_) continue;
      ended_.splice(ended_.end(), threads_, self);  // joined by the next submit or stop
      return;
    }
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

std::size_t keptPageWorkers() {
  return std::max(2u, std::thread::hardware_concurrency());
}

}  // namespace zeziza::web
