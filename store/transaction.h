#pragma once

#include <mutex>
#include <optional>
#include <type_traits>

#include "store/connection_pool.h"
#include "store/database.h"
#include "store/writer.h"

namespace zeziza::store {

// BEGIN IMMEDIATE on construction, so a read-modify-write sequence cannot interleave with
// another writer; rolls back in the destructor unless committed. On a connection attached to
// the writer it first waits for the writer to finish its batch, on a lock rather than the file.
class Transaction {
 public:
  explicit Transaction(Database& db) : db_(db) {
    if (Writer* writer = db_.writer()) gate_ = writer->exclusive();
    db_.execScript("BEGIN IMMEDIATE");
  }
  ~Transaction() {
    if (!done_) {
      try {
        db_.execScript("ROLLBACK");
      } catch (...) {
        // The engine may have rolled back already (after an I/O error); nothing to undo.
      }
    }
  }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void commit() {
    db_.execScript("COMMIT");
    done_ = true;
  }

 private:
  std::unique_lock<std::mutex> gate_;  // declared first: released after the rollback
  Database& db_;
  bool done_ = false;
};

// Runs `job(db)` as one write transaction of its own: on the connection's writer when it has
// one (a savepoint of the writer's next batch), otherwise in a transaction here. Inside the
// caller's open transaction it is simply part of that transaction.
template <class F>
std::invoke_result_t<F&, Database&> writeTransaction(Database& db, F&& job) {
  if (db.inTransaction()) return job(db);
  if (Writer* writer = db.writer()) {
    std::optional<ConnectionPool::Aside> aside;  // others may read on it while this waits
    if (db.pool()) aside.emplace(*db.pool(), db);
    return writer->run(job);
  }
  Transaction transaction(db);
  if constexpr (std::is_void_v<std::invoke_result_t<F&, Database&>>) {
    job(db);
    transaction.commit();
  } else {
    auto result = job(db);
    transaction.commit();
    return result;
  }
}

}  // namespace zeziza::store
