#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/averages.h"
#include "pages/analysis/score_columns.h"
#include "pages/common/bound_statement.h"
#include "store/scope.h"

namespace zeziza::store {
class Query;
}

namespace zeziza::pages {

// The choices of the score query's filter boxes. A filter without a value is the box's first
// item ("all") and adds no condition.
struct ScoreQueryFilter {
  std::optional<std::string> exam;
  store::Scope scope;
  std::string name;  // as typed; no condition when it holds only blanks
  // Item of the sort box: 0 不排序, 1 按考号, 2 按总分, 3 按平均分, 4 + i the subject at i.
  int sortItem = 0;
  bool descending = false;
  analysis::AverageBasis averages = analysis::AverageBasis::SubjectsSat;  // of 平均分
};

// The items of the sort box for the subject list.
std::vector<std::string> sortItems(const std::vector<std::string>& subjects);

// The score rows matching `filter`, with a column k<n> for each of `subjects` between the
// fixed columns and 总分/平均分. "按考号" sorts by the students' internal number, not by the
// 考号 shown. The name is matched as plain text: %, _ and \ in it match only themselves.
BoundStatement scoreQueryStatement(const ScoreQueryFilter& filter,
                                   const std::vector<SubjectColumn>& subjects);
// The same rows in the same order with each row's key (`cj.id`) as a first column.
BoundStatement keyedScoreQueryStatement(const ScoreQueryFilter& filter,
                                        const std::vector<SubjectColumn>& subjects);
// Names the subject columns of an open score query result after their subjects; the names
// never enter the statement.
void nameSubjectColumns(store::Query& result, const std::vector<SubjectColumn>& subjects);

// One row with the number of students in the roster matching the unit, grade, class and name
// filters; the exam plays no part.
BoundStatement enrolledCountStatement(const ScoreQueryFilter& filter);

}  // namespace zeziza::pages
