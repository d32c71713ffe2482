#include "store/analysis_statements.h"

#include <string>
#include <utility>

#include "store/score_query_rows.h"

namespace zeziza::store {

namespace {

std::string text(std::string_view view) {
  return std::string(view);
}

constexpr const char* kPlaceFields = "cj.id as 序, ks.xx as 学校, ks.nj as 年级, ks.bj as 班次";

BoundStatement withX(std::string sql, const ScopeConditions& scope, std::int64_t x) {
  BoundStatement s{std::move(sql), scope.params()};
  s.params.emplace_back(x);
  return s;
}

}  // namespace

BoundStatement chartRowsStatement(const std::vector<int>& subjectNumbers,
                                  const ScopeConditions& scope) {
  std::string fields;
  for (const int number : subjectNumbers) fields += ", " + subjectColumn(number);
  return {"select ks.id, ks.xm, ks.xx, ks.nj, ks.bj, cj.ks, cj.pj" + fields +
              " from ks, cj where ks.bh=cj.kh" + scope.sql() + " order by cj.id",
          scope.params()};
}

BoundStatement columnValuesStatement(std::string_view column, const ScopeConditions& scope) {
  // The students of one class first: the planner would otherwise walk the whole exam for every
  // pair.
  return {"select " + text(column) + " as shuju from ks cross join cj where ks.bh=cj.kh" +
              scope.sql() + " order by cj.id",
          scope.params()};
}

BoundStatement rankedRowsStatement(std::string_view column, bool highest,
                                   const ScopeConditions& scope, std::int64_t x) {
  // rank() gives tied rows one rank, so the X-th's ties stay in.
  const std::string direction = highest ? " desc" : "";
  return withX("select 序, 学校, 年级, 班次 from (select " + std::string(kPlaceFields) +
                   ", rank() over (order by " + text(column) + direction +
                   ") as 名次 from ks, cj where ks.bh=cj.kh" + scope.sql() +
                   ") where 名次<=? order by 名次, 序",
               scope, x);
}

BoundStatement rowsWithinStatement(std::string_view column, bool atLeast,
                                   const ScopeConditions& scope, std::int64_t x) {
  const char* comparison = atLeast ? ">=?" : "<=?";
  return withX("select " + std::string(kPlaceFields) + " from ks, cj where ks.bh=cj.kh" +
                   scope.sql() + " and " + text(column) + comparison + " order by " + text(column) +
                   ", cj.id",
               scope, x);
}

BoundStatement columnRankingStatement(std::string_view column, const ScopeConditions& scope) {
  return {"select ks.bh as 学生, " + text(column) + " as 成绩 from ks, cj where ks.bh=cj.kh" +
              scope.sql() + " order by " + text(column) + " desc, cj.id",
          scope.params()};
}

namespace {

// The search, with `firstColumns` (if any) before the score query's columns.
BoundStatement scoreRows(std::string_view firstColumns, const std::vector<SubjectColumn>& subjects,
                         const ScopeConditions& scope,
                         const std::optional<std::string_view>& orderColumn, bool descending) {
  BoundStatement s;
  s.sql = "select  " + text(firstColumns) + scoreQuerySelectList(subjects);
  s.sql += "\n from ks,cj where ks.bh=cj.kh ";
  s.sql += scope.sql();
  s.params = scope.params();
  if (orderColumn) {
    s.sql += "\n ORDER  BY " + text(*orderColumn);
    if (descending) s.sql += " DESC";
  }
  return s;
}

}  // namespace

BoundStatement scoreRowsStatement(const std::vector<SubjectColumn>& subjects,
                                  const ScopeConditions& scope,
                                  const std::optional<std::string_view>& orderColumn,
                                  bool descending) {
  return scoreRows({}, subjects, scope, orderColumn, descending);
}

BoundStatement keyedScoreRowsStatement(const std::vector<SubjectColumn>& subjects,
                                       const ScopeConditions& scope,
                                       const std::optional<std::string_view>& orderColumn,
                                       bool descending) {
  return scoreRows("cj.id as rowkey, ", subjects, scope, orderColumn, descending);
}

}  // namespace zeziza::store
