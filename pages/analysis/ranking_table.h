#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/ranks.h"
#include "store/scope_conditions.h"
#include "store/subject_columns.h"
#include "web/controls/grid.h"

namespace zeziza::store {
class Database;
}

namespace zeziza::pages {

// A ranking kept small: the score rows' keys in ranking order and each rank column's ranks,
// a few bytes a row. The shown texts are read again by key when rows are shown or saved.
class RankingTable {
 public:
  RankingTable() = default;
  // Ranks every score row of `scope` by total, average and each subject of `rankedSubjects`
  // (the session's columns of the shown subject columns, in order) with one pass over the
  // statement.
  RankingTable(store::Database& db, std::vector<store::SubjectColumn> rankedSubjects,
               std::size_t shownSubjects, const store::ScopeConditions& scope,
               analysis::RankMode mode,
               analysis::AverageBasis averages = analysis::AverageBasis::SubjectsSat);

  std::size_t size() const { return keys_.size(); }
  // The texts of rows [first, first + count) as the grid shows them: 序号, 考号 … 考试名称,
  // "[ rank ] value" per score column, empty where a row has no rank.
  web::GridRowTexts texts(store::Database& db, std::size_t first, std::size_t count) const;

  // What a row read by key shows.
  struct ShownRow {
    std::vector<std::string> fields;  // 考号, 姓名, 学校, 年级, 班次, 考试名称
    std::vector<double> scores;       // the total, the average, then each ranked subject
    std::string missed;               // "(缺N科)" or empty
  };

 private:
  // The texts of the row at `position`; only its number without `shown`.
  std::vector<std::string> rowTexts(std::size_t position, const ShownRow* shown) const;

  std::vector<store::SubjectColumn> subjects_;  // ranked, in grid order
  std::size_t shownSubjects_ = 0;               // subject columns of the grid
  analysis::AverageBasis averages_ = analysis::AverageBasis::SubjectsSat;
  std::vector<std::int64_t> keys_;  // by total, highest first
  // [column][position]: the total, the average, then each ranked subject; 0 for no rank.
  std::vector<std::vector<std::uint32_t>> ranks_;
};

}  // namespace zeziza::pages
