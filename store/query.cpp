#include "store/query.h"

#include <algorithm>
#include <stdexcept>

#include "base/text.h"
#include "store/connection.h"
#include "store/statement.h"

namespace zeziza::store {

void Query::open(std::string_view sql, std::span<const Value> params) {
  close();
  Statement statement(connection_->db(), sql);
  statement.bindAll(params);
  const int columns = statement.columnCount();
  for (int i = 0; i < columns; ++i) {
    names_.push_back(statement.columnName(i));
    // The first column of a name wins; every column is also found as "table.name", so a
    // join over ks and cj reads the student number as `ks.id`.
    index_.emplace(base::toLower(names_.back()), static_cast<std::size_t>(i));
    const std::string table = statement.columnTable(i);
    if (!table.empty()) index_.emplace(base::toLower(table + "." + names_.back()), i);
  }
  while (statement.step()) {
    std::vector<Value> row;
    row.reserve(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i) row.push_back(statement.column(i));
    rows_.push_back(std::move(row));
  }
  open_ = true;
}

int Query::exec(std::string_view sql, std::span<const Value> params) {
  close();
  return connection_->db().exec(sql, params);
}

void Query::close() {
  open_ = false;
  names_.clear();
  index_.clear();
  rows_.clear();
  position_ = 0;
}

void Query::moveBy(long delta) {
  const long target = static_cast<long>(position_) + delta;
  position_ = static_cast<std::size_t>(std::clamp(target, 0L, static_cast<long>(rows_.size())));
}

std::size_t Query::fieldIndex(std::string_view name) const {
  const auto it = index_.find(base::toLower(name));
  if (it == index_.end()) throw std::out_of_range("no field named " + std::string(name));
  return it->second;
}

void Query::renameField(std::size_t index, std::string name) {
  if (index >= names_.size()) throw std::out_of_range("no field " + std::to_string(index));
  const auto old = index_.find(base::toLower(names_[index]));
  if (old != index_.end() && old->second == index) index_.erase(old);
  index_.emplace(base::toLower(name), index);
  names_[index] = std::move(name);
}

bool Query::hasField(std::string_view name) const {
  return index_.contains(base::toLower(name));
}

void Query::requireRow() const {
  if (!open_) throw std::logic_error("query is not open");
  if (eof()) throw std::out_of_range("no current record");
}

const Value& Query::field(std::string_view name) const {
  requireRow();
  return rows_[position_][fieldIndex(name)];
}

const Value& Query::fieldAt(std::size_t row, std::size_t column) const {
  return rows_.at(row).at(column);
}

}  // namespace zeziza::store
