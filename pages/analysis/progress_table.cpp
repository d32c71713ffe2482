#include "pages/analysis/progress_table.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <string>

#include "analysis/number_format.h"
#include "store/ranking_rows.h"
#include "store/value.h"

namespace zeziza::pages {

namespace {

// Ranks of `values` taken highest first, ties in the order of `tieOrder`; indexed like values.
std::vector<int> ranksOf(const std::vector<double>& values,
                         const std::vector<std::size_t>& tieOrder, analysis::RankMode mode) {
  std::vector<std::size_t> order(values.size());
  std::iota(order.begin(), order.end(), 0);
  std::ranges::sort(order, [&](std::size_t a, std::size_t b) {
    return values[a] != values[b] ? values[a] > values[b] : tieOrder[a] < tieOrder[b];
  });
  std::vector<double> ordered;
  ordered.reserve(order.size());
  for (const std::size_t i : order) ordered.push_back(values[i]);
  const auto ranks = analysis::ranksInOrder(ordered, mode);
  std::vector<int> rankOf(values.size());
  for (std::size_t p = 0; p < order.size(); ++p) rankOf[order[p]] = static_cast<int>(ranks[p]);
  return rankOf;
}

}  // namespace

void ProgressTable::addReference(std::int64_t student, double value) {
  if (!(value > 0)) return;  // absent from the reference exam
  rows_.push_back({student, value, 0, 0, 0});
  participants_.reference = static_cast<int>(rows_.size());
}

void ProgressTable::addComparison(std::int64_t student, double value) {
  if (value > 0) comparisonOf_.emplace(student, Comparison{value, comparisonOf_.size()});
  participants_.comparison = static_cast<int>(comparisonOf_.size());
}

void ProgressTable::rankBoth(analysis::RankMode mode) {
  std::vector<ProgressRow> kept;
  std::vector<double> referenceValues, comparisonValues;
  std::vector<std::size_t> referenceOrder, comparisonOrder;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const auto it = comparisonOf_.find(rows_[i].student);
    if (it == comparisonOf_.end()) continue;  // absent from the comparison exam
    kept.push_back(rows_[i]);
    kept.back().comparisonValue = it->second.value;
    referenceValues.push_back(rows_[i].referenceValue);
    referenceOrder.push_back(i);
    comparisonValues.push_back(it->second.value);
    comparisonOrder.push_back(it->second.position);
  }
  const auto referenceRanks = ranksOf(referenceValues, referenceOrder, mode);
  const auto comparisonRanks = ranksOf(comparisonValues, comparisonOrder, mode);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    kept[i].referenceRank = referenceRanks[i];
    kept[i].comparisonRank = comparisonRanks[i];
  }
  rows_ = std::move(kept);
  rows_.shrink_to_fit();
  comparisonOf_ = {};
  participants_.both = static_cast<int>(rows_.size());
}

web::GridRowTexts ProgressTable::texts(store::Database& db, const std::vector<std::uint32_t>& shown,
                                       std::size_t first, std::size_t count) const {
  first = std::min(first, shown.size());
  count = std::min(count, shown.size() - first);
  std::vector<std::int64_t> keys;
  keys.reserve(count);
  for (std::size_t i = first; i < first + count; ++i) keys.push_back(rows_[shown[i]].student);
  std::unordered_map<std::int64_t, std::array<std::string, 5>> studentOf;
  store::forEachStudentByKey(db, keys, [&](const store::Statement& row) {
    studentOf[row.columnInt(store::kStudentKey)] = {
        std::string(row.columnText(store::kStudentId)),
        std::string(row.columnText(store::kStudentName)),
        std::string(row.columnText(store::kStudentUnit)),
        std::string(row.columnText(store::kStudentGrade)),
        std::string(row.columnText(store::kStudentClass))};
  });
  web::GridRowTexts texts;
  texts.reserve(count);
  for (std::size_t i = first; i < first + count; ++i) {
    const ProgressRow& row = rows_[shown[i]];
    std::vector<std::string> cells(5);
    // A student deleted since shows only the numbers.
    if (const auto it = studentOf.find(row.student); it != studentOf.end()) {
      std::move(it->second.begin(), it->second.end(), cells.begin());
    }
    // The reference value as the store shows it, the comparison value in general form.
    cells.push_back(store::Value(row.referenceValue).asText());
    cells.push_back(std::to_string(row.referenceRank));
    cells.push_back(analysis::formatGeneral(row.comparisonValue));
    cells.push_back(std::to_string(row.comparisonRank));
    cells.push_back(std::to_string(row.advance()));
    texts.push_back(std::move(cells));
  }
  return texts;
}

}  // namespace zeziza::pages
