#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "store/connection_pool.h"
#include "store/database.h"

namespace zeziza::store {

// A connection that opens with the first statement that uses it, as the session's
// connections do. From a pool, it is borrowed then and given back by close(), which the
// request cycle calls once a request is answered; otherwise it is a connection of its own.
class Connection {
 public:
  explicit Connection(std::filesystem::path file) : file_(std::move(file)) {}
  explicit Connection(ConnectionPool& pool) : file_(pool.file()), pool_(&pool) {}

  Database& db() {
    if (pool_) {
      if (!lease_) lease_.emplace(pool_->take());
      return lease_->db();
    }
    if (!db_) db_ = std::make_unique<Database>(file_);
    return *db_;
  }
  bool isOpen() const { return db_ != nullptr || lease_.has_value(); }
  void close() {
    lease_.reset();
    db_.reset();
  }
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  ConnectionPool* pool_ = nullptr;
  std::optional<ConnectionPool::Lease> lease_;
  std::unique_ptr<Database> db_;
};

}  // namespace zeziza::store
