#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zeziza::web {

// A bounded pool of worker threads for page events. Jobs carry a key (a session or a client
// address): jobs of one key run one at a time and in order, and free workers take the keys in
// turn, so one busy client cannot keep the others waiting behind its queue, and a session's
// second request never holds a worker while it waits for the first.
class WorkQueue {
 public:
  using Job = std::function<void()>;

  WorkQueue(std::size_t workers, std::size_t maxQueuedPerKey);
  ~WorkQueue();
  WorkQueue(const WorkQueue&) = delete;
  WorkQueue& operator=(const WorkQueue&) = delete;

  // Queues `job` under `key`; false (and the job is not run) when that key already has
  // maxQueuedPerKey jobs waiting or the queue is stopping.
  bool submit(const std::string& key, Job job);
  // Runs every queued job, then ends the workers. Later submits are refused.
  void stop();

 private:
  void work();

  std::size_t maxQueuedPerKey_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::map<std::string, std::deque<Job>> waiting_;  // keys with jobs, none of them running
  std::deque<std::string> turns_;                   // keys ready to run, in turn order
  std::map<std::string, std::size_t> running_;      // keys with a running job
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// Workers for page events: many per core, since most events wait on a disk sync: a score
// entry waits for its group commit, and the more writers wait together, the bigger each batch.
// Sixteen a core measured best with 50 browsers entering scores (eight: 10% fewer entries a
// second, thirty-two: 2% fewer).
std::size_t pageWorkerCount();

}  // namespace zeziza::web
