#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cloud/pg.h"

namespace zeziza::results {

// At most `size` connections to one database, opened when first needed and shared by the
// request threads; a request waits for a free one. A connection found broken is closed and
// opened afresh by the next lease.
class ConnectionPool {
 public:
  ConnectionPool(std::string conninfo, std::size_t size);
  ConnectionPool(const ConnectionPool&) = delete;
  ConnectionPool& operator=(const ConnectionPool&) = delete;

  class Lease {
   public:
    Lease(ConnectionPool& pool, std::unique_ptr<cloud::pg::Connection> connection);
    ~Lease();
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    cloud::pg::Connection& operator*() { return *connection_; }
    cloud::pg::Connection* operator->() { return connection_.get(); }

   private:
    ConnectionPool& pool_;
    std::unique_ptr<cloud::pg::Connection> connection_;
  };

  // A connection for the caller alone until the lease ends. Throws when none can be opened.
  Lease lease();
  std::size_t size() const { return size_; }

 private:
  void giveBack(std::unique_ptr<cloud::pg::Connection> connection);

  const std::string conninfo_;
  const std::size_t size_;
  std::mutex mutex_;
  std::condition_variable freed_;
  std::vector<std::unique_ptr<cloud::pg::Connection>> idle_;
  std::size_t open_ = 0;  // idle and leased
};

}  // namespace zeziza::results
