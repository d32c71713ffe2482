#include "pages/analysis/chart_grouping.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "analysis/number_format.h"

namespace zeziza::pages {

namespace {

// The running sum as its two-decimal text reads back. Most sums already have at most two
// decimals; only the others need the text round trip.
double roundedSum(double value) {
  const double hundredths = value * 100;
  if (std::abs(hundredths - std::round(hundredths)) < 1e-6) return std::round(hundredths) / 100;
  const std::string text = analysis::formatFixed(value, 2);
  double parsed = 0;
  std::from_chars(text.data(), text.data() + text.size(), parsed);
  return parsed;
}

}  // namespace

std::string classGroupKey(const std::string& unit, const std::string& grade, const std::string& cls,
                          bool oneUnit, bool oneGrade) {
  std::string key;
  if (!oneUnit) key += unit + " ";
  if (!oneGrade) key += grade + " ";
  return key + cls;
}

void ChartGrouping::add(const std::string& key, std::span<const double> scores, double average) {
  if (scores.size() != subjects_) throw std::logic_error("chart row has the wrong subject count");
  const auto [it, added] = groupOfKey_.emplace(key, groups_.size());
  if (added) groups_.push_back(Group{key, 0, std::vector<Column>(subjects_ + 1)});
  Group& group = groups_[it->second];
  for (std::size_t j = 0; j <= subjects_; ++j) {
    const double value = j < subjects_ ? scores[j] : average;
    Column& column = group.columns[j];
    if (group.rows == 0) {
      column.first = value;
      column.sum = value;
    } else {
      column.sum = roundedSum(column.sum + value);
    }
    if (value != 0) ++column.count;
  }
  ++group.rows;
}

std::string ChartGrouping::sumText(const Group& group, const Column& column) {
  return group.rows == 1 ? analysis::formatGeneral(column.sum)
                         : analysis::formatFixed(column.sum, 2);
}

std::string ChartGrouping::averageText(const Group& group, const Column& column) {
  if (group.rows > 1 && column.count > 0)
    return analysis::formatFixed(column.sum / column.count, 3);
  return analysis::formatFixed(column.first, 2);
}

web::ClientDataSet ChartGrouping::workingTable(const std::vector<std::string>& subjectNames) const {
  web::ClientDataSet table;
  table.Columns.emplace_back("单位");
  for (const auto& name : subjectNames) {
    table.Columns.push_back(name);
    table.Columns.emplace_back("参考人数");
  }
  table.Columns.emplace_back("综合");
  table.Columns.emplace_back("参考人数");
  table.Columns.insert(table.Columns.end(), subjectNames.begin(), subjectNames.end());
  table.Columns.emplace_back("平均成绩");
  for (const Group& group : groups_) {
    std::vector<std::string> row = {group.key};
    for (const Column& column : group.columns) {
      row.push_back(sumText(group, column));
      row.push_back(std::to_string(column.count));
    }
    for (const Column& column : group.columns) row.push_back(averageText(group, column));
    table.Rows.push_back(std::move(row));
  }
  return table;
}

web::ClientDataSet ChartGrouping::chartTable(const std::vector<std::string>& subjectNames) const {
  web::ClientDataSet table;
  table.Columns.emplace_back("单位");
  table.Columns.insert(table.Columns.end(), subjectNames.begin(), subjectNames.end());
  table.Columns.emplace_back("整体");
  for (const Group& group : groups_) {
    std::vector<std::string> row = {group.key};
    for (const Column& column : group.columns) row.push_back(averageText(group, column));
    table.Rows.push_back(std::move(row));
  }
  return table;
}

}  // namespace zeziza::pages
