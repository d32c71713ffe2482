#include "pages/analysis/progress_table.h"

#include <unordered_map>

#include "analysis/number_format.h"
#include "store/query.h"

namespace zeziza::pages {

namespace {
enum Column : std::size_t { kId, kName, kUnit, kGrade, kClass, kValue };
}

void ProgressTable::readReference(const store::Query& result) {
  rows_.clear();
  rows_.reserve(result.recordCount());
  for (const auto& r : result.rows()) {
    ProgressRow row;
    row.id = r[kId].asText();
    row.name = r[kName].asText();
    row.unit = r[kUnit].asText();
    row.grade = r[kGrade].asText();
    row.cls = r[kClass].asText();
    row.referenceValue = r[kValue].asText();
    row.referenceRank = static_cast<int>(rows_.size()) + 1;
    rows_.push_back(std::move(row));
  }
}

void ProgressTable::readComparison(const store::Query& result) {
  std::unordered_map<std::string, std::size_t> rowOfId;
  rowOfId.reserve(rows_.size());
  for (std::size_t i = 0; i < rows_.size(); ++i) rowOfId.emplace(rows_[i].id, i);  // first wins
  int position = 0;
  for (const auto& r : result.rows()) {
    const double value = r[kValue].asDouble();
    if (value == 0) break;
    ++position;
    const auto it = rowOfId.find(r[kId].asText());
    if (it == rowOfId.end()) continue;
    ProgressRow& row = rows_[it->second];
    row.comparisonValue = analysis::formatGeneral(value);
    row.comparisonRank = position;
    row.advance = row.referenceRank - position;
  }
}

}  // namespace zeziza::pages
