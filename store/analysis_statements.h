#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "store/bound_statement.h"
#include "store/scope_conditions.h"
#include "store/subject_columns.h"

// Statements of the analysis pages.
namespace zeziza::store {

// The scope's score rows in the order they were stored: id, name, unit, grade, class, exam,
// average, then the column of each subject number given.
BoundStatement chartRowsStatement(const std::vector<int>& subjectNumbers,
                                  const ScopeConditions& scope,
                                  const std::string& averageSql = "cj.pj");

// One value of `column` per score row of the scope, as `shuju`, in stored order.
BoundStatement columnValuesStatement(const ScoreColumn& column, const ScopeConditions& scope);

// The scope's score rows ranked by `column` (highest first when `highest`), keeping every row
// tied with the X-th; X is bound after the scope's values. Each row's key and place:
// 序 (cj.id), 学校, 年级, 班次.
BoundStatement rankedRowsStatement(const ScoreColumn& column, bool highest,
                                   const ScopeConditions& scope, std::int64_t x);
// The scope's score rows whose `column` is at least (at most) X, by that column; the same
// columns.
BoundStatement rowsWithinStatement(const ScoreColumn& column, bool atLeast,
                                   const ScopeConditions& scope, std::int64_t x);

// The students (their key ks.bh as 学生) of the scope with their `column` as 成绩, highest
// first; equal values keep the order in which the rows were stored.
BoundStatement columnRankingStatement(const ScoreColumn& column, const ScopeConditions& scope);

// The score rows of the scope with a column k<n> for each subject between the fixed columns
// and 总分/平均分, sorted by `orderColumn` when there is one.
BoundStatement scoreRowsStatement(
    const std::vector<SubjectColumn>& subjects, const ScopeConditions& scope,
    const std::optional<ScoreColumn>& orderColumn, bool descending,
    analysis::AverageBasis basis = analysis::AverageBasis::SubjectsSat);
// The same rows in the same order, with each row's key (`cj.id`) as a first column `rowkey`.
BoundStatement keyedScoreRowsStatement(
    const std::vector<SubjectColumn>& subjects, const ScopeConditions& scope,
    const std::optional<ScoreColumn>& orderColumn, bool descending,
    analysis::AverageBasis basis = analysis::AverageBasis::SubjectsSat);

}  // namespace zeziza::store
