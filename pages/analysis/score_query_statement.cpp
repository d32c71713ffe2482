#include "pages/analysis/score_query_statement.h"

#include <stdexcept>
#include <utility>

#include "pages/analysis/scope_filter.h"
#include "store/query.h"

namespace zeziza::pages {

namespace {

constexpr int kFirstSubjectSortItem = 4;

// The filter's conditions; the exam only where score rows are selected.
ScopeFilter scopeOf(const ScoreQueryFilter& filter, bool withExam) {
  ScopeFilter scope;
  const std::pair<ScopeColumn, const std::optional<std::string>*> choices[] = {
      {ScopeColumn::Exam, withExam ? &filter.exam : nullptr},
      {ScopeColumn::Unit, &filter.unit},
      {ScopeColumn::Grade, &filter.grade},
      {ScopeColumn::Class, &filter.className}};
  for (const auto& [column, value] : choices) {
    if (value && *value) scope.equals(column, **value);
  }
  return scope.nameContains(filter.name);
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
                                   const std::vector<SubjectColumn>& subjects) {
  BoundStatement s;
  s.sql =
      "select  cj.ks as 考试名称,ks.id as 考号,  ks.xm as 姓名,ks.xx as 学校,ks.nj as 年级,"
      "ks.bj as 班次";
  s.sql += SessionSubjects(subjects).selectList();
  s.sql += "\n,cj.zf as 总分, cj.pj as 平均分\n from ks,cj where ks.bh=cj.kh ";
  const ScopeFilter scope = scopeOf(filter, true);
  s.sql += scope.sql();
  s.params = scope.params();
  if (filter.sortItem > 0) {
    s.sql += "\n ORDER  BY " + sortColumn(filter.sortItem);
    if (filter.descending) s.sql += " DESC";
  }
  return s;
}

void nameSubjectColumns(store::Query& result, const std::vector<SubjectColumn>& subjects) {
  for (const auto& subject : subjects) {
    result.renameField(result.fieldIndex(subjectKey(subject.number)), subject.name);
  }
}

BoundStatement enrolledCountStatement(const ScoreQueryFilter& filter) {
  return enrolledStatement(scopeOf(filter, false));
}

}  // namespace zeziza::pages
