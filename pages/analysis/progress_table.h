#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/ranks.h"

namespace zeziza::store {
class Query;
}

namespace zeziza::pages {

// One student of the progress working table.
struct ProgressRow {
  std::string id;  // 考号
  std::string name;
  std::string unit;
  std::string grade;
  std::string cls;
  std::string referenceValue;
  int referenceRank = 0;
  std::string comparisonValue;
  std::optional<int> comparisonRank;
  std::optional<int> advance;  // reference rank - comparison rank: positive is a move up
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
  // Result columns of both passes, in order: 考号, 姓名, 学校, 年级, 班次, the value; rows
  // ranked highest first (equal values in stored order).
  void readReference(const store::Query& result);
  // Matches the comparison exam to the reference by 考号 and ranks the students of both.
  void readComparison(const store::Query& result,
                      analysis::RankMode mode = analysis::RankMode::Sequential);

  const std::vector<ProgressRow>& rows() const { return rows_; }
  const ProgressParticipants& participants() const { return participants_; }

 private:
  std::vector<ProgressRow> rows_;
  std::vector<double> referenceValues_;  // by row of rows_
  ProgressParticipants participants_;
};

}  // namespace zeziza::pages
