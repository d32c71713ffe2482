#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "store/bound_statement.h"
#include "store/scope_conditions.h"
#include "store/statement.h"
#include "store/subject_columns.h"

namespace zeziza::store {

class Database;

// Result columns of rankingValuesStatement: the row key, total, average, then one per subject.
enum RankingValue : int { kValueKey, kValueTotal, kValueAverage, kFirstSubjectValue };

// The numbers a ranking needs of every score row of the scope, by total, highest first; equal
// totals in the order the rows were stored.
// The average by `basis`.
BoundStatement rankingValuesStatement(
    const std::vector<SubjectColumn>& subjects, const ScopeConditions& scope,
    analysis::AverageBasis basis = analysis::AverageBasis::SubjectsSat);

// Result columns of the rows read by key: the key, the shown texts, then the numbers.
enum ScoreRowField : int {
  kRowKey,
  kRowExam,
  kRowId,
  kRowName,
  kRowUnit,
  kRowGrade,
  kRowClass,
  kRowTotal,
  kRowAverage,
  kFirstSubjectField
};

// The score rows (with their student) of `keys`, at most kMaxKeysPerRead, in no given order;
// the average by `basis`, and after the subjects the row's missed mark ("(缺N科)" or "").
BoundStatement rankingRowsByKeyStatement(
    const std::vector<SubjectColumn>& subjects, std::span<const std::int64_t> keys,
    analysis::AverageBasis basis = analysis::AverageBasis::SubjectsSat);

// Reads the rows of `keys` a chunk at a time and hands each to `onRow`; a key whose row is gone
// gives none.
void forEachScoreRowByKey(Database& db, const std::vector<SubjectColumn>& subjects,
                          std::span<const std::int64_t> keys,
                          const std::function<void(const Statement& row)>& onRow,
                          analysis::AverageBasis basis = analysis::AverageBasis::SubjectsSat);

// Result columns of the students read by key.
enum StudentField : int {
  kStudentKey,
  kStudentId,
  kStudentName,
  kStudentUnit,
  kStudentGrade,
  kStudentClass
};

// The students (ks.bh) of `keys`, at most kMaxKeysPerRead, in no given order.
BoundStatement studentsByKeyStatement(std::span<const std::int64_t> keys);

// Reads the students of `keys` a chunk at a time and hands each to `onRow`.
void forEachStudentByKey(Database& db, std::span<const std::int64_t> keys,
                         const std::function<void(const Statement& row)>& onRow);

}  // namespace zeziza::store
