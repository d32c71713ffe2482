#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zeziza::store {
class Query;
}

namespace zeziza::pages {

// One student of the reference exam in the progress working table.
struct ProgressRow {
  std::string id;  // 考号
  std::string name;
  std::string unit;
  std::string grade;
  std::string cls;
  std::string referenceValue;
  int referenceRank = 0;
  // Empty until the student is found in the comparison exam with a value above 0.
  std::string comparisonValue;
  std::optional<int> comparisonRank;
  std::optional<int> advance;  // reference rank - comparison rank: positive is a move up
};

// The working table of the progress page: the reference ranking, then the comparison ranking
// matched to it by 考号 through a map (a search per row would be quadratic).
class ProgressTable {
 public:
  // Result columns of both passes, in order: 考号, 姓名, 学校, 年级, 班次, the value; rows
  // ranked highest first.
  void readReference(const store::Query& result);
  // Walks until the first value of 0; every row walked counts for the rank, found or not.
  void readComparison(const store::Query& result);

  const std::vector<ProgressRow>& rows() const { return rows_; }

 private:
  std::vector<ProgressRow> rows_;
};

}  // namespace zeziza::pages
