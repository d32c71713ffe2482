#include "store/connection_pool.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace zeziza::store {

ConnectionPool::ConnectionPool(std::filesystem::path file, std::size_t size, Writer* writer)
    : file_(std::move(file)), size_(std::max<std::size_t>(1, size)), writer_(writer) {}

ConnectionPool::Lease::Lease(Lease&& other) noexcept
    : pool_(other.pool_), db_(std::exchange(other.db_, nullptr)) {}

ConnectionPool::Lease::~Lease() {
  if (db_) pool_->giveBack(*db_);
}

ConnectionPool::Aside::Aside(ConnectionPool& pool, Database& db) : pool_(pool), db_(db) {
  pool_.giveBack(db_);
}

ConnectionPool::Aside::~Aside() {
  pool_.reclaim(db_);
}

bool ConnectionPool::lendable() const {
  return open_.size() + opening_ < size_ ||
         std::any_of(idle_.begin(), idle_.end(),
                     [this](Database* db) { return !wanted_.contains(db); });
}

ConnectionPool::Lease ConnectionPool::take() {
  std::unique_lock lock(mutex_);
  returned_.wait(lock, [this] { return lendable(); });
  const auto free = std::find_if(idle_.begin(), idle_.end(),
                                 [this](Database* db) { return !wanted_.contains(db); });
  if (free != idle_.end()) {
    Database* db = *free;
    idle_.erase(free);
    return Lease(*this, *db);
  }
  ++opening_;
  lock.unlock();
  std::unique_ptr<Database> db;
  try {
    db = std::make_unique<Database>(file_);
    db->attach(writer_, this);
  } catch (...) {
    lock.lock();
    --opening_;
    returned_.notify_all();
    throw;
  }
  lock.lock();
  --opening_;
  open_.push_back(std::move(db));
  return Lease(*this, *open_.back());
}

std::size_t ConnectionPool::lent() const {
  std::lock_guard lock(mutex_);
  return open_.size() - idle_.size();
}

void ConnectionPool::giveBack(Database& db) {
  if (db.inTransaction()) {
    try {
      db.execScript("ROLLBACK");
    } catch (const DatabaseError&) {
      // Closed below the pool's reach would be worse; the next BEGIN reports the state.
    }
  }
  {
    std::lock_guard lock(mutex_);
    idle_.push_back(&db);
  }
  returned_.notify_all();
}

void ConnectionPool::reclaim(Database& db) {
  std::unique_lock lock(mutex_);
  ++wanted_[&db];
  returned_.wait(lock, [&] { return std::find(idle_.begin(), idle_.end(), &db) != idle_.end(); });
  idle_.erase(std::find(idle_.begin(), idle_.end(), &db));
  if (--wanted_[&db] == 0) wanted_.erase(&db);
}

std::size_t defaultPoolSize() {
  return std::max(2U, std::thread::hardware_concurrency());
}

}  // namespace zeziza::store
