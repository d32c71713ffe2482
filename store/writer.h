#pragma once

#include <condition_variable>
#include <filesystem>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <type_traits>
#include <vector>

#include "store/database.h"

struct sqlite3;

namespace zeziza::store {

// The single writer of a database. Short write jobs are queued to its thread, which runs
// whatever has queued up in one transaction, so a crowd of writers shares one sync; under load
// it waits a moment for as many jobs as came last time. Each job runs under a savepoint: a job
// that throws is undone alone and its caller gets the exception, the others of its batch still
// commit. A caller is answered once the commit holding its change is durable (or has failed).
// Checkpoints run on a thread of their own, so copying the log back into the database never
// holds up a batch.
class Writer {
 public:
  explicit Writer(const std::filesystem::path& file);
  // Runs what is queued, then stops the thread.
  ~Writer();
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  // Runs `job(db)` on the writer's connection inside the next batch and waits for its commit.
  // Returns what the job returned; rethrows what it threw, or the commit's failure.
  template <class F>
  std::invoke_result_t<F&, Database&> run(F&& job);

  // Keeps the writer thread between batches while another connection of the same database
  // runs a transaction of its own, so the two never contend for the file's write lock.
  std::unique_lock<std::mutex> exclusive() { return std::unique_lock(gate_); }
  bool onWriterThread() const { return std::this_thread::get_id() == thread_.get_id(); }
  // Batches run and jobs queued so far (for reports and tests).
  std::size_t batches() const;
  std::size_t submitted() const;

 private:
  struct Task {
    virtual ~Task() = default;
    virtual void apply(Database& db) = 0;
    virtual void answer() = 0;
    virtual void fail(std::exception_ptr error) = 0;
  };
  template <class R, class F>
  struct TaskOf;

  void submit(std::shared_ptr<Task> task);
  void loop();
  void checkpointLoop();
  static int onCommit(void* self, sqlite3* db, const char* name, int pages);
  void gatherLocked(std::unique_lock<std::mutex>& lock);
  void runBatch(std::vector<std::shared_ptr<Task>>& batch);

  Database db_;
  std::mutex gate_;  // held by the thread for a batch, or by another connection's transaction
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::shared_ptr<Task>> queue_;
  bool stop_ = false;
  std::size_t lastBatch_ = 0;
  std::size_t gather_ = 1;  // jobs queued before the writer wants waking
  bool checkpointWanted_ = false;
  std::condition_variable checkpointWake_;
  std::size_t batches_ = 0;
  std::size_t submitted_ = 0;
  std::thread thread_;
  std::thread checkpointer_;
};

template <class R, class F>
struct Writer::TaskOf final : Writer::Task {
  explicit TaskOf(F& job) : job(job) {}
  void apply(Database& db) override {
    if constexpr (std::is_void_v<R>) {
      job(db);
    } else {
      result.emplace(job(db));
    }
  }
  void answer() override {
    if constexpr (std::is_void_v<R>) {
      done.set_value();
    } else {
      done.set_value(std::move(*result));
    }
  }
  void fail(std::exception_ptr error) override { done.set_exception(std::move(error)); }

  F& job;  // lives in the caller's frame, which waits for the answer
  std::conditional_t<std::is_void_v<R>, bool, std::optional<R>> result{};
  std::promise<R> done;
};

template <class F>
std::invoke_result_t<F&, Database&> Writer::run(F&& job) {
  using R = std::invoke_result_t<F&, Database&>;
  if (onWriterThread()) return job(db_);  // a job that writes through another store function
  auto task = std::make_shared<TaskOf<R, std::remove_reference_t<F>>>(job);
  auto answer = task->done.get_future();
  submit(task);
  return answer.get();
}

}  // namespace zeziza::store
