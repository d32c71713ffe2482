#pragma once

#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "store/database.h"

namespace zeziza::store {

class Writer;

// A few connections to one database shared by every request: a request borrows one and gives
// it back when it is answered. Opened on first need; a borrower waits while all are lent.
// A borrower waiting for the writer steps aside meanwhile, so that a crowd of writers does
// not hold every connection while readers queue.
class ConnectionPool {
 public:
  // The lent connections hand their autocommit writes and their transactions to `writer`.
  ConnectionPool(std::filesystem::path file, std::size_t size, Writer* writer = nullptr);
  ConnectionPool(const ConnectionPool&) = delete;
  ConnectionPool& operator=(const ConnectionPool&) = delete;

  // A borrowed connection, returned to its pool when destroyed.
  class Lease {
   public:
    Lease(ConnectionPool& pool, Database& db) : pool_(&pool), db_(&db) {}
    ~Lease();
    Lease(Lease&& other) noexcept;
    Lease& operator=(Lease&&) = delete;
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Database& db() const { return *db_; }

   private:
    ConnectionPool* pool_;
    Database* db_;
  };

  // Lends a borrowed connection to others until destroyed, then takes that same connection
  // back (before any new borrower gets it).
  class Aside {
   public:
    Aside(ConnectionPool& pool, Database& db);
    ~Aside();
    Aside(const Aside&) = delete;
    Aside& operator=(const Aside&) = delete;

   private:
    ConnectionPool& pool_;
    Database& db_;
  };

  Lease take();
  std::size_t size() const { return size_; }
  // Connections lent out now.
  std::size_t lent() const;
  const std::filesystem::path& file() const { return file_; }

 private:
  void giveBack(Database& db);
  void reclaim(Database& db);
  bool lendable() const;

  std::filesystem::path file_;
  std::size_t size_;
  Writer* writer_;
  mutable std::mutex mutex_;
  std::condition_variable returned_;
  std::vector<std::unique_ptr<Database>> open_;
  std::vector<Database*> idle_;
  std::map<Database*, int> wanted_;  // connections their borrowers wait to take back
  std::size_t opening_ = 0;
};

// Readers sized to the machine: one a core, at least two.
std::size_t defaultPoolSize();

}  // namespace zeziza::store
