#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zeziza::web {

// A bounded pool of worker threads for page events. Jobs carry a key (a session or a client
// address): jobs of one key run one at a time and in order, and free workers take the keys in
// turn, so one busy client cannot keep the others waiting behind its queue, and a session's
// second request never holds a worker while it waits for the first. Jobs marked costly (a
// password hash: a core for tens of milliseconds) run at most a set number at once; the rest
// wait in line without holding a worker, so they never crowd out the cheap ones.
class WorkQueue {
 public:
  using Job = std::function<void()>;
  enum class Cost { Cheap, Costly };

  // At most `workers` threads, started as jobs need them. Threads beyond `kept` end once they
  // have had nothing to do for `idleEnd`, so a quiet server holds neither their stacks nor
  // their allocator caches.
  WorkQueue(std::size_t workers, std::size_t maxQueuedPerKey, std::size_t kept = SIZE_MAX,
            std::chrono::milliseconds idleEnd = std::chrono::seconds(10));
  ~WorkQueue();
  WorkQueue(const WorkQueue&) = delete;
  WorkQueue& operator=(const WorkQueue&) = delete;

  // Queues `job` under `key`; false (and the job is not run) when that key already has
  // maxQueuedPerKey jobs waiting or the queue is stopping.
  bool submit(const std::string& key, Job job, Cost cost = Cost::Cheap);
  // Costly jobs running at once at most (default: no limit).
  void limitCostly(std::size_t atOnce);
  // Runs every queued job, then ends the workers. Later submits are refused.
  void stop();
  // Worker threads alive now.
  std::size_t workers() const;

 private:
  using Threads = std::list<std::thread>;
  struct Waiting {
    Job job;
    Cost cost;
  };
  void startWorkerLocked();
  void work(Threads::iterator self);
  // The first key in turn whose next job may start now; turns_.end() when none.
  std::deque<std::string>::iterator nextTurnLocked();

  std::size_t maxWorkers_;
  std::size_t maxQueuedPerKey_;
  std::size_t kept_;
  std::chrono::milliseconds idleEnd_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::map<std::string, std::deque<Waiting>> waiting_;  // keys with jobs, none of them running
  std::deque<std::string> turns_;                       // keys ready to run, in turn order
  std::map<std::string, std::size_t> running_;          // keys with a running job
  bool stopping_ = false;
  std::size_t costlyAtOnce_ = SIZE_MAX;
  std::size_t costlyRunning_ = 0;
  std::size_t idle_ = 0;  // workers waiting for a job
  Threads threads_;       // running or waiting
  Threads ended_;         // ended for want of work, to be joined
};

// Workers for page events: many per core, since most events wait on a disk sync: a score
// entry waits for its group commit, and the more writers wait together, the bigger each batch.
// Sixteen a core measured best with 50 browsers entering scores (eight: 10% fewer entries a
// second, thirty-two: 2% fewer).
std::size_t pageWorkerCount();
// Workers kept through quiet times: one a core.
std::size_t keptPageWorkers();

}  // namespace zeziza::web
