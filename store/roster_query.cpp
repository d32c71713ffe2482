#include "store/roster_query.h"

#include <optional>
#include <stdexcept>
#include <string_view>

namespace zeziza::store {

namespace {

constexpr std::string_view kRosterColumns =
    "select bh,id as 学生编号, xx as 学校, xm as 姓名,nj as 年级,bj as 班次,'修改' as 修改,"
    "'删除该生' as 删除该学生 from ks";

}  // namespace

BoundStatement rosterKeysStatement(const RosterFilter& filter) {
  BoundStatement statement{"select bh from ks", {}};
  const auto add = [&](const std::optional<std::string>& value, std::string_view condition) {
    if (!value) return;
    statement.sql += statement.params.empty() ? " where " : " and ";
    statement.sql += condition;
    statement.params.emplace_back(*value);
  };
  add(filter.scope.unit, "xx=?");
  add(filter.scope.grade, "nj=?");
  add(filter.scope.cls, "bj=?");
  if (!filter.namePart.empty()) add(containsPattern(filter.namePart), "xm like ? escape '\\'");
  // Insertion order, so paging and the pasted order agree.
  statement.sql += " order by bh";
  return statement;
}

BoundStatement rosterRowsByKeyStatement(std::span<const std::int64_t> keys) {
  if (keys.size() > kMaxKeysPerRead) throw std::invalid_argument("roster rows: too many keys");
  BoundStatement statement{std::string(kRosterColumns), {}};
  if (keys.empty()) {
    statement.sql += " where 0";
    return statement;
  }
  statement.sql += " where bh in (?";
  for (std::size_t i = 1; i < keys.size(); ++i) statement.sql += ",?";
  statement.sql += ") order by bh";
  for (const std::int64_t key : keys) statement.params.emplace_back(key);
  return statement;
}

}  // namespace zeziza::store
