#include "results/connection_pool.h"

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
  {
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [this] { return !idle_.empty() || open_ < size_; });
    if (!idle_.empty()) {
      auto connection = std::move(idle_.back());
      idle_.pop_back();
      return Lease(*this, std::move(connection));
    }
    ++open_;
  }
  // Opened outside the lock: a slow server must not hold up leases of idle connections.
  try {
    return Lease(*this, std::make_unique<cloud::pg::Connection>(conninfo_));
  } catch (...) {
    giveBack(nullptr);
    throw;
  }
}

void ConnectionPool::giveBack(std::unique_ptr<cloud::pg::Connection> connection) {
  {
    const std::lock_guard lock(mutex_);
    if (connection && connection->healthy()) {
      idle_.push_back(std::move(connection));
    } else {
      --open_;
    }
  }
  freed_.notify_one();
}

}  // namespace zeziza::results
