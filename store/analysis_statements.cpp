#include "store/analysis_statements.h"

#include <string>
#include <utility>

#include "store/score_query_rows.h"

namespace zeziza::store {

namespace {

constexpr const char* kPlaceFields = "cj.id as 序, ks.xx as 学校, ks.nj as 年级, ks.bj as 班次";

BoundStatement withX(std::string sql, const ScopeConditions& scope, std::int64_t x) {
  BoundStatement s{std::move(sql), scope.params()};
  s.params.emplace_back(x);
  return s;
}

}  // namespace

BoundStatement chartRowsStatement(const std::vector<int>& subjectNumbers,
                                  const ScopeConditions& scope, const std::string& averageSql) {
  std::string fields;
  for (const int number : subjectNumbers) fields += ", " + subjectColumn(number);
  return {"select ks.id, ks.xm, ks.xx, ks.nj, ks.bj, cj.ks, " + averageSql + fields +
              " from ks, cj where ks.bh=cj.kh" + scope.sql() + " order by cj.id",
          scope.params()};
}

BoundStatement columnValuesStatement(const ScoreColumn& column, const ScopeConditions& scope) {
  // The students of one class first: the planner would otherwise walk the whole exam for every
  // pair.
  return {"select " + column.sql() + " as shuju from ks cross join cj where ks.bh=cj.kh" +
              scope.sql() + " order by cj.id",
          scope.params()};
}

BoundStatement rankedRowsStatement(const ScoreColumn& column, bool highest,
                                   const ScopeConditions& scope, std::int64_t x) {
  // rank() gives tied rows one rank, so the X-th's ties stay in.
  const std::string direction = highest ? " desc" : "";
  return withX("select 序, 学校, 年级, 班次 from (select " + std::string(kPlaceFields) +
                   ", rank() over (order by " + column.sql() + direction +
                   ") as 名次 from ks, cj where ks.bh=cj.kh" + scope.sql() +
                   ") where 名次<=? order by 名次, 序",
               scope, x);
}

BoundStatement rowsWithinStatement(const ScoreColumn& column, bool atLeast,
                                   const ScopeConditions& scope, std::int64_t x) {
  const char* comparison = atLeast ? ">=?" : "<=?";
  return withX("select " + std::string(kPlaceFields) + " from ks, cj where ks.bh=cj.kh" +
                   scope.sql() + " and " + column.sql() + comparison + " order by " + column.sql() +
                   ", cj.id",
               scope, x);
}

BoundStatement columnRankingStatement(const ScoreColumn& column, const ScopeConditions& scope) {
  return {"select ks.bh as 学生, " + column.sql() + " as 成绩 from ks, cj where ks.bh=cj.kh" +
              scope.sql() + " order by " + column.sql() + " desc, cj.id",
          scope.params()};
}

namespace {

// The search, with `firstColumns` (if any) before the score query's columns.
BoundStatement scoreRows(std::string_view firstColumns, const std::vector<SubjectColumn>& subjects,
                         const ScopeConditions& scope,
                         const std::optional<ScoreColumn>& orderColumn, bool descending,
                         analysis::AverageBasis basis) {
  BoundStatement s;
  s.sql = "select  " + std::string(firstColumns) + scoreQuerySelectList(subjects, basis);
  s.sql += "\n from ks,cj where ks.bh=cj.kh ";
  s.sql += scope.sql();
  s.params = scope.params();
  if (orderColumn) {
    s.sql += "\n ORDER  BY " + orderColumn->sql();
    if (descending) s.sql += " DESC";
  }
  return s;
}

}  // namespace

BoundStatement scoreRowsStatement(const std::vector<SubjectColumn>& subjects,
                                  const ScopeConditions& scope,
                                  const std::optional<ScoreColumn>& orderColumn, bool descending,
                                  analysis::AverageBasis basis) {
  return scoreRows({}, subjects, scope, orderColumn, descending, basis);
}

BoundStatement keyedScoreRowsStatement(const std::vector<SubjectColumn>& subjects,
                                       const ScopeConditions& scope,
                                       const std::optional<ScoreColumn>& orderColumn,
                                       bool descending, analysis::AverageBasis basis) {
  return scoreRows("cj.id as rowkey, ", subjects, scope, orderColumn, descending, basis);
}

}  // namespace zeziza::store
