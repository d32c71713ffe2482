#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cloud/pg.h"

namespace zeziza::results {

// At most `size` connections to one database, opened when first needed and shared by the
// request threads. A request waits for a free one in order of arrival: each connection given
// back goes to the longest waiter, so no request is passed over again and again at the peak.
// A connection found broken is closed and opened afresh by the next lease.
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
  // A request waiting for a connection: it gets one, or leave to open one.
  struct Waiter {
    std::condition_variable turn;
    std::unique_ptr<cloud::pg::Connection> handed;
    bool mayOpen = false;
  };
  void giveBack(std::unique_ptr<cloud::pg::Connection> connection);
  Lease opened();

  const std::string conninfo_;
  const std::size_t size_;
  std::mutex mutex_;
  std::deque<Waiter*> waiters_;  // in order of arrival
  std::vector<std::unique_ptr<cloud::pg::Connection>> idle_;
  std::size_t open_ = 0;  // idle, leased and being opened
};

}  // namespace zeziza::results
