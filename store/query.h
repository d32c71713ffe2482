#pragma once

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/value.h"

namespace zeziza::store {

class Connection;

// A query as the pages use it: open a statement to get a materialised result with a cursor,
// or exec a statement to change rows. Data grids page by moving the cursor.
class Query {
 public:
  explicit Query(Connection& connection) : connection_(&connection) {}

  void open(std::string_view sql, std::span<const Value> params = {});
  void open(std::string_view sql, std::initializer_list<Value> params) {
    open(sql, std::span<const Value>(params.begin(), params.size()));
  }
  int exec(std::string_view sql, std::span<const Value> params = {});
  int exec(std::string_view sql, std::initializer_list<Value> params) {
    return exec(sql, std::span<const Value>(params.begin(), params.size()));
  }
  void close();
  bool isOpen() const { return open_; }

  // Cursor.
  void first() { position_ = 0; }
  void last() { position_ = rows_.empty() ? 0 : rows_.size() - 1; }
  void next() { moveBy(1); }
  void prior() { moveBy(-1); }
  // Moves within [0, recordCount]; moving past the end leaves the cursor at eof.
  void moveBy(long delta);
  void moveTo(std::size_t row) { position_ = std::min(row, rows_.size()); }
  bool eof() const { return position_ >= rows_.size(); }
  bool bof() const { return position_ == 0; }
  std::size_t recordCount() const { return rows_.size(); }
  std::size_t recNo() const { return position_; }

  // Fields of the current row, by result column name (letter case ignored).
  const Value& field(std::string_view name) const;
  bool hasField(std::string_view name) const;
  const Value& fieldAt(std::size_t row, std::size_t column) const;
  const std::vector<std::string>& fieldNames() const { return names_; }
  std::size_t fieldIndex(std::string_view name) const;
  // Gives column `index` of the open result the name `name`, for names that stay out of the
  // statement. A name another column already has stays with that column.
  void renameField(std::size_t index, std::string name);
  const std::vector<std::vector<Value>>& rows() const { return rows_; }

 private:
  void requireRow() const;

  Connection* connection_;
  bool open_ = false;
  std::vector<std::string> names_;
  std::unordered_map<std::string, std::size_t> index_;
  std::vector<std::vector<Value>> rows_;
  std::size_t position_ = 0;
};

}  // namespace zeziza::store
