#include "store/statement_cache.h"

#include <sqlite3.h>

#include <utility>

namespace zeziza::store {

StatementCache::~StatementCache() {
  clear();
}

sqlite3_stmt* StatementCache::take(std::string_view sql) {
  const auto found = bySql_.find(sql);
  if (found == bySql_.end()) return nullptr;
  const auto entry = found->second;
  sqlite3_stmt* const stmt = entry->stmt;
  bySql_.erase(found);
  lru_.erase(entry);
  return stmt;
}

void StatementCache::give(std::string sql, sqlite3_stmt* stmt) {
  sqlite3_reset(stmt);  // its error, if any, was reported by the step that failed
  sqlite3_clear_bindings(stmt);
  if (capacity_ == 0 || sql.size() > kLongestKept || bySql_.contains(sql)) {
    sqlite3_finalize(stmt);
    return;
  }
  lru_.push_front({std::move(sql), stmt});  // on failure the caller still owns stmt
  try {
    bySql_.emplace(lru_.front().sql, lru_.begin());
  } catch (...) {
    lru_.pop_front();
    throw;
  }
  if (lru_.size() > capacity_) {
    bySql_.erase(lru_.back().sql);
    sqlite3_finalize(lru_.back().stmt);
    lru_.pop_back();
  }
}

void StatementCache::clear() {
  bySql_.clear();
  for (const Entry& e : lru_) sqlite3_finalize(e.stmt);
  lru_.clear();
}

}  // namespace zeziza::store
