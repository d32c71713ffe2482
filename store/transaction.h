#pragma once

#include "store/database.h"

namespace zeziza::store {

// BEGIN IMMEDIATE on construction, so a read-modify-write sequence cannot interleave with
// another writer; rolls back in the destructor unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db) : db_(db) { db_.execScript("BEGIN IMMEDIATE"); }
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
  Database& db_;
  bool done_ = false;
};

}  // namespace zeziza::store
