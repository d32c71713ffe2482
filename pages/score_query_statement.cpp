#include "pages/score_query_statement.h"

#include <stdexcept>

namespace zeziza::pages {

namespace {

constexpr int kFirstSubjectSortItem = 4;

bool isBlank(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > ' ') return false;
  }
  return true;
}

void addCondition(BoundStatement& s, std::string_view column,
                  const std::optional<std::string>& value) {
  if (!value) return;
  s.sql += "\n and " + std::string(column) + "=?";
  s.params.emplace_back(*value);
}

void addNameCondition(BoundStatement& s, std::string_view column, const std::string& name) {
  if (isBlank(name)) return;
  s.sql += "\n and " + std::string(column) + " like ? escape '\\'";
  s.params.emplace_back(containsPattern(name));
}

std::string sortColumn(int item) {
  switch (item) {
    case 1:
      return "cj.kh";
    case 2:
      return "cj.zf";
    case 3:
      return "cj.pj";
    default:
      break;
  }
  if (item < kFirstSubjectSortItem) throw std::invalid_argument("no sort column");
  return "cj.k" + std::to_string(item - kFirstSubjectSortItem + 1);
}

}  // namespace

std::vector<std::string> sortItems(const std::vector<std::string>& subjects) {
  std::vector<std::string> items{"不排序", "按考号", "按总分", "按平均分"};
  for (const auto& subject : subjects) items.push_back("按" + subject);
  return items;
}

BoundStatement scoreQueryStatement(const ScoreQueryFilter& filter,
                                   std::string_view subjectColumns) {
  BoundStatement s;
  s.sql =
      "select  cj.ks as 考试名称,ks.id as 考号,  ks.xm as 姓名,ks.xx as 学校,ks.nj as 年级,"
      "ks.bj as 班次 ";
  s.sql += subjectColumns;
  s.sql += "\n,cj.zf as 总分, cj.pj as 平均分\n from ks,cj where ks.bh=cj.kh ";
  addCondition(s, "cj.ks", filter.exam);
  addCondition(s, "ks.xx", filter.unit);
  addCondition(s, "ks.nj", filter.grade);
  addCondition(s, "ks.bj", filter.className);
  addNameCondition(s, "ks.xm", filter.name);
  if (filter.sortItem > 0) {
    s.sql += "\n ORDER  BY " + sortColumn(filter.sortItem);
    if (filter.descending) s.sql += " DESC";
  }
  return s;
}

BoundStatement enrolledCountStatement(const ScoreQueryFilter& filter) {
  BoundStatement s{"select count(*) from ks where bh>-1", {}};
  addCondition(s, "xx", filter.unit);
  addCondition(s, "nj", filter.grade);
  addCondition(s, "bj", filter.className);
  addNameCondition(s, "xm", filter.name);
  return s;
}

}  // namespace zeziza::pages
