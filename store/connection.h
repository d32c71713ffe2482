#pragma once

#include <filesystem>
#include <memory>

#include "store/database.h"

namespace zeziza::store {

// A connection that opens its database with the first statement that uses it, as the
// session's connections do, and closes it when it is destroyed.
class Connection {
 public:
  explicit Connection(std::filesystem::path file) : file_(std::move(file)) {}

  Database& db() {
    if (!db_) db_ = std::make_unique<Database>(file_);
    return *db_;
  }
  bool isOpen() const { return db_ != nullptr; }
  void close() { db_.reset(); }
  const std::filesystem::path& file() const { return file_; }

 private:
  std::filesystem::path file_;
  std::unique_ptr<Database> db_;
};

}  // namespace zeziza::store
