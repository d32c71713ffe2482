#include "store/writer.h"

#include <sqlite3.h>

#include <chrono>
#include <optional>

namespace zeziza::store {

namespace {

// Undoes one job's changes and keeps the batch's transaction going. False when the engine
// has already rolled back the whole transaction (an I/O error, a full disk).
bool undoJob(Database& db) {
  if (sqlite3_get_autocommit(db.handle()) != 0) return false;
  try {
    db.execScript("ROLLBACK TO job; RELEASE job");
    return true;
  } catch (const DatabaseError&) {
    return false;
  }
}

}  // namespace

namespace {
// Log pages after which the checkpointer copies them back (SQLite's own default).
constexpr int kCheckpointPages = 1000;
// The longest a batch waits for company: a fraction of one sync of the log.
constexpr std::chrono::microseconds kGatherWait{400};
}  // namespace

Writer::Writer(const std::filesystem::path& file) : db_(file) {
  sqlite3_wal_hook(db_.handle(), &Writer::onCommit, this);  // replaces the automatic checkpoint
  thread_ = std::thread([this] { loop(); });
  checkpointer_ = std::thread([this] { checkpointLoop(); });
}

Writer::~Writer() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  checkpointWake_.notify_one();
  thread_.join();
  checkpointer_.join();
}

int Writer::onCommit(void* self, sqlite3*, const char*, int pages) {
  if (pages < kCheckpointPages) return SQLITE_OK;
  auto* writer = static_cast<Writer*>(self);
  {
    std::lock_guard lock(writer->mutex_);
    writer->checkpointWanted_ = true;
  }
  writer->checkpointWake_.notify_one();
  return SQLITE_OK;
}

// A passive checkpoint on a connection of its own: it copies what no reader still needs and
// never waits for a lock, while the writer goes on appending to the log.
void Writer::checkpointLoop() {
  std::optional<Database> db;
  for (;;) {
    {
      std::unique_lock lock(mutex_);
      checkpointWake_.wait(lock, [this] { return stop_ || checkpointWanted_; });
      if (stop_) return;
      checkpointWanted_ = false;
    }
    try {
      if (!db) db.emplace(db_.file());
      sqlite3_wal_checkpoint_v2(db->handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    } catch (const DatabaseError&) {
      db.reset();  // tried again after the next commit
    }
  }
}

std::size_t Writer::batches() const {
  std::lock_guard lock(mutex_);
  return batches_;
}

std::size_t Writer::submitted() const {
  std::lock_guard lock(mutex_);
  return submitted_;
}

void Writer::submit(std::shared_ptr<Task> task) {
  {
    std::lock_guard lock(mutex_);
    ++submitted_;
    queue_.push_back(std::move(task));
    if (queue_.size() < gather_) return;  // the writer is gathering: not enough yet
  }
  wake_.notify_one();
}

void Writer::loop() {
  for (;;) {
    std::vector<std::shared_ptr<Task>> batch;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (queue_.empty()) return;
      gatherLocked(lock);
      batch.swap(queue_);
      lastBatch_ = batch.size();
      ++batches_;
    }
    std::lock_guard gate(gate_);
    runBatch(batch);
  }
}

// Under load, waits a moment for as many jobs as the last batch held: writers answered
// together come back together, and one sync for all of them costs less CPU than several.
// A lone writer (last batch of one) never waits.
void Writer::gatherLocked(std::unique_lock<std::mutex>& lock) {
  if (lastBatch_ <= 1 || queue_.size() >= lastBatch_) return;
  gather_ = lastBatch_;
  wake_.wait_for(lock, kGatherWait, [this] { return stop_ || queue_.size() >= gather_; });
  gather_ = 1;
}

void Writer::runBatch(std::vector<std::shared_ptr<Task>>& batch) {
  std::vector<std::exception_ptr> failures(batch.size());
  std::exception_ptr lost;  // the whole transaction is gone
  try {
    db_.execScript("BEGIN IMMEDIATE");
  } catch (...) {
    lost = std::current_exception();
  }
  for (std::size_t i = 0; i < batch.size() && !lost; ++i) {
    try {
      db_.execScript("SAVEPOINT job");
      batch[i]->apply(db_);
      db_.execScript("RELEASE job");
    } catch (...) {
      failures[i] = std::current_exception();
      if (!undoJob(db_)) lost = failures[i];
    }
  }
  if (!lost) {
    try {
      db_.execScript("COMMIT");
    } catch (...) {
      lost = std::current_exception();
    }
  }
  if (lost && sqlite3_get_autocommit(db_.handle()) == 0) {
    try {
      db_.execScript("ROLLBACK");
    } catch (const DatabaseError&) {
      // Rolled back by the engine already.
    }
  }
  for (std::size_t i = 0; i < batch.size(); ++i) {
    if (failures[i]) {
      batch[i]->fail(failures[i]);
    } else if (lost) {
      batch[i]->fail(lost);
    } else {
      batch[i]->answer();
    }
  }
}

}  // namespace zeziza::store
