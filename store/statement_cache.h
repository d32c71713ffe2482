#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace zeziza::store {

// Prepared statements of one connection kept for their next use, by SQL text, the least
// recently used given up first. Parsing and planning a statement cost more than running the
// short ones a request makes. A statement in use is out of the cache, so the same text run
// inside itself gets a second statement of its own. Long texts (searches built for one click,
// reads of hundreds of keys) are not kept: they seldom come again and their programs are big.
// Used by one thread at a time, as its connection is.
class StatementCache {
 public:
  static constexpr std::size_t kLongestKept = 1024;  // bytes of SQL text

  explicit StatementCache(std::size_t capacity) : capacity_(capacity) {}
  ~StatementCache();
  StatementCache(const StatementCache&) = delete;
  StatementCache& operator=(const StatementCache&) = delete;

  // A kept statement for `sql`, or nullptr: the caller prepares one.
  sqlite3_stmt* take(std::string_view sql);
  // Keeps `stmt`, reset and unbound, for its next use; finalises it when one is kept already.
  void give(std::string sql, sqlite3_stmt* stmt);
  // Finalises every kept statement.
  void clear();
  std::size_t size() const { return lru_.size(); }

 private:
  struct Entry {
    std::string sql;
    sqlite3_stmt* stmt;
  };
  std::size_t capacity_;
  std::list<Entry> lru_;  // most recently given back first
  std::unordered_map<std::string_view, std::list<Entry>::iterator> bySql_;
};

}  // namespace zeziza::store
