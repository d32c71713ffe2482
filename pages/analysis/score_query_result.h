#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "analysis/averages.h"
#include "pages/analysis/score_columns.h"
#include "pages/common/bound_statement.h"

namespace zeziza::store {
class Connection;
class Database;
class Query;
}  // namespace zeziza::store

namespace zeziza::pages {

// A search's result as the score query keeps it: the keys of its rows (8 bytes a row) in the
// search's order and the subject columns it was made with. Rows are read again when shown or
// exported, so a result of any size costs the session little.
class ScoreQueryResult {
 public:
  // The keys give back what they grew beyond their count: they stay for the page's life.
  ScoreQueryResult(std::vector<SubjectColumn> subjects, std::vector<std::int64_t> keys,
                   analysis::AverageBasis averages = analysis::AverageBasis::SubjectsSat)
      : subjects_(std::move(subjects)), keys_(std::move(keys)), averages_(averages) {
    keys_.shrink_to_fit();
  }

  std::size_t rowCount() const { return keys_.size(); }

  // Opens `query` on up to `count` rows (at most store::kMaxKeysPerRead) from row `first` on,
  // in order, with the search's columns, the subject columns named after their subjects.
  // Nothing past the last row; count 0 gives the columns alone.
  void read(store::Query& query, std::size_t first, std::size_t count) const;
  // Every row in order, read a few hundred at a time on `connection`: each piece is an open
  // result handed to `onPiece`. An empty result gives one empty piece.
  void forEachPiece(store::Connection& connection,
                    const std::function<void(const store::Query& piece)>& onPiece) const;

 private:
  std::vector<SubjectColumn> subjects_;
  std::vector<std::int64_t> keys_;
  analysis::AverageBasis averages_;
};

// What one pass over a search keeps: its rows' keys in order and, for each column asked, the
// value of every row read as a score (see scoreValue).
struct SearchPass {
  std::vector<std::int64_t> keys;
  std::vector<std::vector<double>> values;
};

// Steps `keyed` (a search with each row's key as its first column) once, keeping no row.
// `columns` index the search's own columns, the key not counted.
SearchPass stepSearch(store::Database& db, const BoundStatement& keyed,
                      std::span<const std::size_t> columns);

}  // namespace zeziza::pages
