#include "store/roster_query.h"

#include <string_view>

namespace zeziza::store {

BoundStatement rosterStatement(const RosterFilter& filter) {
  BoundStatement statement{
      "select bh,id as 学生编号, xx as 学校, xm as 姓名,nj as 年级,bj as 班次,'修改' as 修改,"
      "'删除该生' as 删除该学生 from ks",
      {}};
  const auto add = [&](const std::string& value, std::string_view condition) {
    if (value.empty()) return;
    statement.sql += statement.params.empty() ? " where " : " and ";
    statement.sql += condition;
    statement.params.emplace_back(value);
  };
  add(filter.unit, "xx=?");
  add(filter.grade, "nj=?");
  add(filter.cls, "bj=?");
  add(filter.namePart.empty() ? "" : containsPattern(filter.namePart), "xm like ? escape '\\'");
  // Insertion order, so paging and the pasted order agree.
  statement.sql += " order by bh";
  return statement;
}

}  // namespace zeziza::store
