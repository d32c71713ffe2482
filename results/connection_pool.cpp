#include "results/connection_pool.h"

#include "cloud/results_queries.h"

namespace zeziza::results {

ConnectionPool::ConnectionPool(std::string conninfo, std::size_t size)
    : conninfo_(std::move(conninfo)), size_(size == 0 ? 1 : size) {}

ConnectionPool::Lease::Lease(ConnectionPool& pool,
                             std::unique_ptr<cloud::pg::Connection> connection)
    : pool_(pool), connection_(std::move(connection)) {}

ConnectionPool::Lease::~Lease() {
  pool_.giveBack(std::move(connection_));
}

ConnectionPool::Lease ConnectionPool::lease() {
  Waiter waiter;
  {
    std::unique_lock lock(mutex_);
    // A connection the server has closed meanwhile (a restart) is dropped, not handed out to
    // fail the request.
    while (waiters_.empty() && !idle_.empty()) {
      auto connection = std::move(idle_.back());
      idle_.pop_back();
      if (connection->healthy()) return Lease(*this, std::move(connection));
      --open_;
    }
    if (waiters_.empty() && open_ < size_) {
      ++open_;
      waiter.mayOpen = true;
    } else {
      waiters_.push_back(&waiter);
      waiter.turn.wait(lock, [&] { return waiter.handed || waiter.mayOpen; });
    }
  }
  if (waiter.handed) return Lease(*this, std::move(waiter.handed));
  return opened();
}

// Opened outside the lock: a slow server must not hold up the other leases.
ConnectionPool::Lease ConnectionPool::opened() {
  try {
    auto connection = std::make_unique<cloud::pg::Connection>(conninfo_);
    cloud::startSiteSession(*connection);
    return Lease(*this, std::move(connection));
  } catch (...) {
    giveBack(nullptr);
    throw;
  }
}

void ConnectionPool::giveBack(std::unique_ptr<cloud::pg::Connection> connection) {
  const std::lock_guard lock(mutex_);
  const bool usable = connection && connection->healthy();
  if (waiters_.empty()) {
    if (usable) {
      idle_.push_back(std::move(connection));
    } else {
      --open_;
    }
    return;
  }
  Waiter& next = *waiters_.front();
  waiters_.pop_front();
  if (usable) {
    next.handed = std::move(connection);
  } else {
    next.mayOpen = true;  // the broken connection's place
  }
  next.turn.notify_one();  // under the lock: the waiter lives on the waiting thread's stack
}

}  // namespace zeziza::results
