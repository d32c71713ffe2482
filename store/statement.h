#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "store/value.h"

struct sqlite3_stmt;

namespace zeziza::store {

class Database;

// A prepared statement for one use: taken from its connection's cache or prepared in the
// constructor, given back to the cache (reset) in the destructor.
class Statement {
 public:
  Statement(Database& db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Binds all parameters at once; the count must match the statement's.
  void bindAll(std::span<const Value> params);
  // Steps once; true while a row is available.
  bool step();
  // Ready to bind and run again (statements run once per batch of rows).
  void reset();
  int columnCount() const;
  // True for a statement that changes nothing in the database.
  bool readOnly() const;
  std::string columnName(int i) const;
  // The table a result column comes from; empty for an expression.
  std::string columnTable(int i) const;
  Value column(int i) const;
  // Typed reads of the current row that copy nothing: a number as Value::asDouble/asInt reads
  // it (null 0, text parsed); the text as SQLite gives it (a real 85 reads "85.0", where
  // Value::asText gives "85"), valid until the next step.
  double columnDouble(int i) const;
  std::int64_t columnInt(int i) const;
  std::string_view columnText(int i) const;

 private:
  Database* owner_;
  sqlite3_stmt* stmt_ = nullptr;
  std::string sql_;
};

}  // namespace zeziza::store
