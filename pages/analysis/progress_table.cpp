#include "pages/analysis/progress_table.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "analysis/number_format.h"
#include "store/query.h"

namespace zeziza::pages {

namespace {

enum Column : std::size_t { kId, kName, kUnit, kGrade, kClass, kValue };

// A student's value and place in the comparison exam's result.
struct Comparison {
  double value;
  std::size_t position;
};

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

void ProgressTable::readReference(const store::Query& result) {
  rows_.clear();
  referenceValues_.clear();
  participants_ = {};
  for (const auto& r : result.rows()) {
    const double value = r[kValue].asDouble();
    if (!(value > 0)) continue;  // absent from the reference exam
    ProgressRow row;
    row.id = r[kId].asText();
    row.name = r[kName].asText();
    row.unit = r[kUnit].asText();
    row.grade = r[kGrade].asText();
    row.cls = r[kClass].asText();
    row.referenceValue = r[kValue].asText();
    rows_.push_back(std::move(row));
    referenceValues_.push_back(value);
  }
  participants_.reference = static_cast<int>(rows_.size());
}

void ProgressTable::readComparison(const store::Query& result, analysis::RankMode mode) {
  std::unordered_map<std::string, Comparison> comparisonOf;
  const auto& rows = result.rows();
  for (std::size_t p = 0; p < rows.size(); ++p) {
    const double value = rows[p][kValue].asDouble();
    if (value > 0) comparisonOf.emplace(rows[p][kId].asText(), Comparison{value, p});
  }
  participants_.comparison = static_cast<int>(comparisonOf.size());

  std::vector<ProgressRow> kept;
  std::vector<double> referenceValues, comparisonValues;
  std::vector<std::size_t> referenceOrder, comparisonOrder;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const auto it = comparisonOf.find(rows_[i].id);
    if (it == comparisonOf.end()) continue;  // absent from the comparison exam
    kept.push_back(std::move(rows_[i]));
    referenceValues.push_back(referenceValues_[i]);
    referenceOrder.push_back(i);
    comparisonValues.push_back(it->second.value);
    comparisonOrder.push_back(it->second.position);
  }
  const auto referenceRanks = ranksOf(referenceValues, referenceOrder, mode);
  const auto comparisonRanks = ranksOf(comparisonValues, comparisonOrder, mode);
  for (std::size_t i = 0; i < kept.size(); ++i) {
    kept[i].referenceRank = referenceRanks[i];
    kept[i].comparisonValue = analysis::formatGeneral(comparisonValues[i]);
    kept[i].comparisonRank = comparisonRanks[i];
    kept[i].advance = referenceRanks[i] - comparisonRanks[i];
  }
  rows_ = std::move(kept);
  referenceValues_ = std::move(referenceValues);
  participants_.both = static_cast<int>(rows_.size());
}

}  // namespace zeziza::pages
