#include "store/analysis_statements.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "store/ranking_rows.h"

namespace zeziza::store {
namespace {

ScopeConditions hostileScope() {
  ScopeConditions scope;
  scope.equals(ScopeColumn::Exam, "期中' or 1=1 --");
  scope.equals(ScopeColumn::Class, "一班");
  return scope;
}

TEST(AnalysisStatements, ScopeValuesAndXAreBoundInOrderAndNeverSpliced) {
  const ScopeConditions scope = hostileScope();
  const std::vector<SubjectColumn> subjects = {{1, "语文"}, {3, "英语"}};
  const std::vector<Value> scopeValues = {Value("期中' or 1=1 --"), Value("一班")};
  std::vector<Value> withX = scopeValues;
  withX.emplace_back(std::int64_t{5});
  const std::vector<BoundStatement> statements = {
      chartRowsStatement({1, 3}, scope),
      columnValuesStatement(ScoreColumn::total(), scope),
      columnRankingStatement(ScoreColumn::average(), scope),
      rankingValuesStatement(subjects, scope),
      scoreRowsStatement(subjects, scope, std::nullopt, false),
      keyedScoreRowsStatement(subjects, scope, std::nullopt, false),
  };
  for (const auto& s : statements) {
    EXPECT_EQ(s.params, scopeValues) << s.sql;
    EXPECT_NE(s.sql.find(" and cj.ks=? and ks.bj=?"), std::string::npos) << s.sql;
    EXPECT_EQ(s.sql.find("期中"), std::string::npos) << s.sql;
    EXPECT_EQ(s.sql.find("语文"), std::string::npos) << s.sql;
  }
  for (const auto& s : {rankedRowsStatement(ScoreColumn::subject(3), true, scope, 5),
                        rowsWithinStatement(ScoreColumn::subject(3), false, scope, 5)}) {
    EXPECT_EQ(s.params, withX) << s.sql;
    EXPECT_NE(s.sql.find("by cj.k3"), std::string::npos) << s.sql;
  }
}

TEST(AnalysisStatements, DirectionAndComparisonFollowTheChoice) {
  const ScopeConditions scope;
  EXPECT_NE(
      rankedRowsStatement(ScoreColumn::total(), true, scope, 1).sql.find("order by cj.zf desc)"),
      std::string::npos);
  EXPECT_NE(rankedRowsStatement(ScoreColumn::total(), false, scope, 1).sql.find("order by cj.zf)"),
            std::string::npos);
  EXPECT_NE(rowsWithinStatement(ScoreColumn::average(), true, scope, 1).sql.find("cj.pj>=?"),
            std::string::npos);
  EXPECT_NE(rowsWithinStatement(ScoreColumn::average(), false, scope, 1).sql.find("cj.pj<=?"),
            std::string::npos);
}

TEST(AnalysisStatements, TheRosterCountRefusesAnExamCondition) {
  ScopeConditions roster;
  roster.equals(ScopeColumn::Unit, "东校区");
  roster.nameContains("  ");
  const BoundStatement count = enrolledStatement(roster);
  EXPECT_EQ(count.sql, "select count(*) from ks where bh>-1 and ks.xx=?");
  EXPECT_EQ(count.params, std::vector<Value>{Value("东校区")});
  roster.equals(ScopeColumn::Exam, "期中");
  EXPECT_THROW(enrolledStatement(roster), std::logic_error);
}

TEST(AnalysisStatements, SubjectNumbersOutsideTheColumnsAreRefused) {
  EXPECT_EQ(subjectColumn(12), "cj.k12");
  EXPECT_THROW(subjectColumn(0), std::out_of_range);
  EXPECT_THROW(subjectColumn(13), std::out_of_range);
  EXPECT_THROW(chartRowsStatement({13}, ScopeConditions{}), std::out_of_range);
}

}  // namespace
}  // namespace zeziza::store
