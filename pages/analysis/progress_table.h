#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "analysis/ranks.h"
#include "web/controls/grid.h"

namespace zeziza::store {
class Database;
}

namespace zeziza::pages {

// One student of the progress working table, compact: the texts are read again by key.
struct ProgressRow {
  std::int64_t student = 0;  // ks.bh
  double referenceValue = 0;
  double comparisonValue = 0;
  int referenceRank = 0;
  int comparisonRank = 0;
  int advance() const { return referenceRank - comparisonRank; }  // positive is a move up
};

// How many students of the scope took part (a value above 0) in each exam and in both.
struct ProgressParticipants {
  int reference = 0;
  int comparison = 0;
  int both = 0;
};

// The working table of the progress page. Only students who took part in both exams are
// ranked, in each exam among themselves, so both ranks count the same students: a rank that
// moved because others sat only one of the exams is no progress.
class ProgressTable {
 public:
  // The rows of each exam in ranking order, highest first (equal values in stored order):
  // the reference exam's first, then the comparison exam's.
  void addReference(std::int64_t student, double value);
  void addComparison(std::int64_t student, double value);
  // Keeps the students of both exams and ranks them.
  void rankBoth(analysis::RankMode mode = analysis::RankMode::Sequential);

  const std::vector<ProgressRow>& rows() const { return rows_; }
  const ProgressParticipants& participants() const { return participants_; }

  // The grid texts of rows_[shown[first]] … rows_[shown[first + count - 1]]: 考号, 姓名, 学校,
  // 年级, 班次, both values and ranks, 进阶.
  web::GridRowTexts texts(store::Database& db, const std::vector<std::uint32_t>& shown,
                          std::size_t first, std::size_t count) const;

 private:
  // A student's value and place in the comparison exam's result.
  struct Comparison {
    double value;
    std::size_t position;
  };

  std::vector<ProgressRow> rows_;
  std::unordered_map<std::int64_t, Comparison> comparisonOf_;  // until ranked
  ProgressParticipants participants_;
};

}  // namespace zeziza::pages
