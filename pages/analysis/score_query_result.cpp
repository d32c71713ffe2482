#include "pages/analysis/score_query_result.h"

#include <algorithm>

#include "pages/analysis/score_query_statement.h"
#include "pages/analysis/score_statistics.h"
#include "store/connection.h"
#include "store/query.h"
#include "store/row_stream.h"
#include "store/score_query_rows.h"

namespace zeziza::pages {

void ScoreQueryResult::read(store::Query& query, std::size_t first, std::size_t count) const {
  const std::size_t begin = std::min(first, keys_.size());
  const std::size_t shown = std::min(count, keys_.size() - begin);
  const BoundStatement statement = store::scoreRowsByKeyStatement(
      subjects_, std::span<const std::int64_t>(keys_).subspan(begin, shown), averages_);
  query.open(statement.sql, statement.params);
  nameSubjectColumns(query, subjects_);
}

void ScoreQueryResult::forEachPiece(
    store::Connection& connection,
    const std::function<void(const store::Query& piece)>& onPiece) const {
  store::Query piece(connection);
  std::size_t first = 0;
  do {
    read(piece, first, store::kMaxKeysPerRead);
    onPiece(piece);
    first += store::kMaxKeysPerRead;
  } while (first < keys_.size());
}

SearchPass stepSearch(store::Database& db, const BoundStatement& keyed,
                      std::span<const std::size_t> columns) {
  SearchPass pass;
  pass.values.resize(columns.size());
  store::forEachRow(db, keyed, [&](const store::Statement& row) {
    pass.keys.push_back(row.columnInt(0));
    for (std::size_t i = 0; i < columns.size(); ++i) {
      pass.values[i].push_back(scoreValue(row.column(static_cast<int>(columns[i]) + 1)));
    }
  });
  return pass;
}

}  // namespace zeziza::pages
