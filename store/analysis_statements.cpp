#include "store/analysis_statements.h"

#include <string>
#include <utility>

#include "store/score_query_rows.h"

namespace zeziza::store {

namespace {

std::string text(std::string_view view) {
  return std::string(view);
}

std::string rowFields(const std::vector<SubjectColumn>& subjects) {
  return "cj.ks as 考试名称, ks.id as 考号, ks.xm as 姓名, ks.xx as 学校, "
         "ks.nj as 年级, ks.bj as 班次" +
         subjectSelectList(subjects) + ", cj.zf as 总分, cj.pj as 平均分";
}

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

BoundStatement rankedRowsStatement(const std::vector<SubjectColumn>& subjects,
                                   std::string_view column, bool highest,
                                   const ScopeConditions& scope, std::int64_t x) {
  // rank() gives tied rows one rank, so the X-th's ties stay in.
  const std::string direction = highest ? " desc" : "";
  return withX("select * from (select " + rowFields(subjects) +
                   ", cj.id as 序, rank() over (order by " + text(column) + direction +
                   ") as 名次 from ks, cj where ks.bh=cj.kh" + scope.sql() +
                   ") where 名次<=? order by 名次, 序",
               scope, x);
}

BoundStatement rowsWithinStatement(const std::vector<SubjectColumn>& subjects,
                                   std::string_view column, bool atLeast,
                                   const ScopeConditions& scope, std::int64_t x) {
  const char* comparison = atLeast ? ">=?" : "<=?";
  return withX("select " + rowFields(subjects) + " from ks, cj where ks.bh=cj.kh" + scope.sql() +
                   " and " + text(column) + comparison + " order by " + text(column) + ", cj.id",
               scope, x);
}

BoundStatement columnRankingStatement(std::string_view column, const ScopeConditions& scope) {
  return {"select ks.id as 考号, ks.xm as 姓名, ks.xx as 学校, ks.nj as 年级, ks.bj as 班次, " +
              text(column) + " as 成绩 from ks, cj where ks.bh=cj.kh" + scope.sql() + " order by " +
              text(column) + " desc, cj.id",
          scope.params()};
}

BoundStatement totalRankingStatement(const std::vector<SubjectColumn>& subjects,
                                     const ScopeConditions& scope) {
  return {
      "select cj.ks as 考试名称, ks.id as 考号, ks.xm as 姓名, ks.xx as 学校, ks.nj as 年级, "
      "ks.bj as 班次, cj.zf as 总分, cj.pj as 平均分, cj.id as 序" +
          subjectSelectList(subjects) + " from ks, cj where ks.bh=cj.kh" + scope.sql() +
          " order by cj.zf desc, cj.id",
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
