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

void WorkQueue::limitCostly(std::size_t atOnce) {
  std::lock_guard lock(mutex_);
  costlyAtOnce_ = std::max<std::size_t>(atOnce, 1);
}

bool WorkQueue::submit(const std::string& key, Job job, Cost cost) {
  Threads ended;
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return false;
    auto& queue = waiting_[key];
    if (queue.size() >= maxQueuedPerKey_) return false;
    queue.push_back({std::move(job), cost});
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

std::deque<std::string>::iterator WorkQueue::nextTurnLocked() {
  if (costlyRunning_ < costlyAtOnce_) return turns_.begin();
  return std::find_if(turns_.begin(), turns_.end(), [this](const std::string& key) {
    return waiting_.at(key).front().cost == Cost::Cheap;
  });
}

void WorkQueue::work(Threads::iterator self) {
  std::unique_lock lock(mutex_);
  for (;;) {
    ++idle_;
    const bool ready = wake_.wait_for(lock, idleEnd_, [this] {
      return (stopping_ && turns_.empty()) || nextTurnLocked() != turns_.end();
    });
    --idle_;
    if (!ready) {
      if (threads_.size() <= kept_) continue;
      ended_.splice(ended_.end(), threads_, self);  // joined by the next submit or stop
      return;
    }
    if (turns_.empty()) return;  // stopping, and nothing left to run
    const auto turn = nextTurnLocked();
    const std::string key = std::move(*turn);
    turns_.erase(turn);
    auto it = waiting_.find(key);
    Waiting next = std::move(it->second.front());
    it->second.pop_front();
    if (it->second.empty()) waiting_.erase(it);
    ++running_[key];
    const bool costly = next.cost == Cost::Costly;
    if (costly) ++costlyRunning_;
    lock.unlock();
    try {
      next.job();
    } catch (...) {
      // A job answers its own request; nothing may end the worker.
    }
    lock.lock();
    running_.erase(key);
    if (waiting_.contains(key)) turns_.push_back(key);  // behind the other keys
    if (costly) {
      --costlyRunning_;
      wake_.notify_all();  // a costly job in line may start now
    } else if (waiting_.contains(key)) {
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
