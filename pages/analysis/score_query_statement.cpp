#include "pages/analysis/score_query_statement.h"

#include <stdexcept>
#include <utility>

#include "store/analysis_statements.h"
#include "store/query.h"
#include "store/scope_conditions.h"

namespace zeziza::pages {

namespace {

constexpr int kFirstSubjectSortItem = 4;

// The filter's conditions; the exam only where score rows are selected.
store::ScopeConditions scopeOf(const ScoreQueryFilter& filter, bool withExam) {
  store::ScopeConditions scope;
  if (withExam) scope.exam(filter.exam);
  return scope.within(filter.scope).nameContains(filter.name);
}

store::ScoreColumn sortColumn(int item, analysis::AverageBasis averages,
                              const std::vector<SubjectColumn>& subjects) {
  switch (item) {
    case 1:
      return store::ScoreColumn::studentKey();
    case 2:
      return store::ScoreColumn::total();
    case 3:
      return store::ScoreColumn::average(averages, subjects);
    default:
      break;
  }
  if (item < kFirstSubjectSortItem) throw std::invalid_argument("no sort column");
  return store::ScoreColumn::subject(item - kFirstSubjectSortItem + 1);
}

}  // namespace

std::vector<std::string> sortItems(const std::vector<std::string>& subjects) {
  std::vector<std::string> items{"不排序", "按考号", "按总分", "按平均分"};
  for (const auto& subject : subjects) items.push_back("按" + subject);
  return items;
}

namespace {

std::optional<store::ScoreColumn> orderOf(const ScoreQueryFilter& filter,
                                          const std::vector<SubjectColumn>& subjects) {
  if (filter.sortItem > 0) return sortColumn(filter.sortItem, filter.averages, subjects);
  return std::nullopt;
}

}  // namespace

BoundStatement scoreQueryStatement(const ScoreQueryFilter& filter,
                                   const std::vector<SubjectColumn>& subjects) {
  const auto order = orderOf(filter, subjects);
  return store::scoreRowsStatement(subjects, scopeOf(filter, true), order, filter.descending,
                                   filter.averages);
}

BoundStatement keyedScoreQueryStatement(const ScoreQueryFilter& filter,
                                        const std::vector<SubjectColumn>& subjects) {
  const auto order = orderOf(filter, subjects);
  return store::keyedScoreRowsStatement(subjects, scopeOf(filter, true), order, filter.descending,
                                        filter.averages);
}

void nameSubjectColumns(store::Query& result, const std::vector<SubjectColumn>& subjects) {
  for (const auto& subject : subjects) {
    result.renameField(result.fieldIndex(subjectKey(subject.number)), subject.name);
  }
}

BoundStatement enrolledCountStatement(const ScoreQueryFilter& filter) {
  return store::enrolledStatement(scopeOf(filter, false));
}

}  // namespace zeziza::pages
