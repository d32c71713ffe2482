#include "pages/analysis/ranking_table.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "analysis/number_format.h"
#include "store/ranking_rows.h"
#include "store/row_stream.h"

namespace zeziza::pages {

namespace {

std::string rankCell(std::uint32_t rank, const std::string& score) {
  return "[ " + std::to_string(rank) + " ] " + score;
}

// A rank pass over one column (values by position in total order): highest first, equal
// values in stored order, ranked until the first value of 0. Returns each position's rank.
std::vector<std::uint32_t> rankPass(const std::vector<double>& values,
                                    const std::vector<std::int64_t>& keys,
                                    analysis::RankMode mode) {
  std::vector<std::uint32_t> order(values.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return values[a] != values[b] ? values[a] > values[b] : keys[a] < keys[b];
  });
  std::vector<double> ordered(values.size());
  for (std::size_t p = 0; p < order.size(); ++p) ordered[p] = values[order[p]];
  const auto ranks = analysis::ranksInOrder(ordered, mode);
  std::vector<std::uint32_t> rankOf(values.size(), 0);
  for (std::size_t p = 0; p < order.size() && ordered[p] != 0; ++p) rankOf[order[p]] = ranks[p];
  return rankOf;
}

constexpr std::size_t kTotalColumn = 7;  // after 序号 and the six texts

RankingTable::ShownRow shownRow(const store::Statement& row, std::size_t subjects) {
  RankingTable::ShownRow shown;
  for (const int f : {store::kRowId, store::kRowName, store::kRowUnit, store::kRowGrade,
                      store::kRowClass, store::kRowExam}) {
    shown.fields.emplace_back(row.columnText(f));
  }
  shown.scores = {row.columnDouble(store::kRowTotal), row.columnDouble(store::kRowAverage)};
  for (std::size_t s = 0; s < subjects; ++s) {
    shown.scores.push_back(row.columnDouble(store::kFirstSubjectField + static_cast<int>(s)));
  }
  shown.missed = row.columnText(store::kFirstSubjectField + static_cast<int>(subjects));
  return shown;
}

}  // namespace

RankingTable::RankingTable(store::Database& db, std::vector<store::SubjectColumn> rankedSubjects,
                           std::size_t shownSubjects, const store::ScopeConditions& scope,
                           analysis::RankMode mode, analysis::AverageBasis averages)
    : subjects_(std::move(rankedSubjects)), shownSubjects_(shownSubjects), averages_(averages) {
  // Flat numbers of the one pass; they live only while the ranks are made.
  std::vector<std::vector<double>> values(2 + subjects_.size());
  store::forEachRow(db, store::rankingValuesStatement(subjects_, scope, averages_),
                    [&](const store::Statement& row) {
                      keys_.push_back(row.columnInt(store::kValueKey));
                      values[0].push_back(row.columnDouble(store::kValueTotal));
                      values[1].push_back(row.columnDouble(store::kValueAverage));
                      for (std::size_t s = 0; s < subjects_.size(); ++s) {
                        values[2 + s].push_back(
                            row.columnDouble(store::kFirstSubjectValue + static_cast<int>(s)));
                      }
                    });
  keys_.shrink_to_fit();
  // Every row has a total rank, a total of 0 too, in the statement's order.
  const auto total = analysis::ranksInOrder(values[0], mode);
  ranks_.emplace_back(total.begin(), total.end());
  for (std::size_t c = 1; c < values.size(); ++c) {
    ranks_.push_back(rankPass(values[c], keys_, mode));
    std::vector<double>().swap(values[c]);
  }
}

web::GridRowTexts RankingTable::texts(store::Database& db, std::size_t first,
                                      std::size_t count) const {
  first = std::min(first, keys_.size());
  count = std::min(count, keys_.size() - first);
  const std::span<const std::int64_t> keys(keys_.data() + first, count);
  std::unordered_map<std::int64_t, ShownRow> byKey;
  byKey.reserve(count);
  store::forEachScoreRowByKey(
      db, subjects_, keys,
      [&](const store::Statement& row) {
        byKey.emplace(row.columnInt(store::kRowKey), shownRow(row, subjects_.size()));
      },
      averages_);
  web::GridRowTexts rows;
  rows.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto it = byKey.find(keys[i]);
    rows.push_back(rowTexts(first + i, it == byKey.end() ? nullptr : &it->second));
  }
  return rows;
}

std::vector<std::string> RankingTable::rowTexts(std::size_t position, const ShownRow* shown) const {
  std::vector<std::string> texts = {std::to_string(position + 1)};
  texts.resize(kTotalColumn + 2 + shownSubjects_);
  if (!shown) return texts;  // a row deleted since the ranking shows only its number
  std::copy(shown->fields.begin(), shown->fields.end(), texts.begin() + 1);
  texts[kTotalColumn] = rankCell(ranks_[0][position], analysis::formatFixed(shown->scores[0], 2));
  for (std::size_t c = 1; c < ranks_.size(); ++c) {
    const std::uint32_t rank = ranks_[c][position];
    if (rank > 0) {
      texts[kTotalColumn + c] = rankCell(rank, analysis::formatGeneral(shown->scores[c]));
    }
  }
  // The average of a student who missed subjects says so beside its rank.
  if (!texts[kTotalColumn + 1].empty()) texts[kTotalColumn + 1] += shown->missed;
  return texts;
}

}  // namespace zeziza::pages
