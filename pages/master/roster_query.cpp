#include "pages/master/roster_query.h"

namespace zeziza::pages {

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

std::size_t pageCount(std::size_t rows) {
  return (rows + kRosterRowsPerPage - 1) / kRosterRowsPerPage;
}

std::string countLine(std::size_t rows, std::size_t page, std::size_t pages) {
  return "共有" + std::to_string(rows) + "条符合条件的记录  [第" + std::to_string(page) + "页/共" +
         std::to_string(pages) + "页]";
}

}  // namespace zeziza::pages
