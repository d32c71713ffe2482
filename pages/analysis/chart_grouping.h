#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "web/controls/chart.h"

namespace zeziza::pages {

// The group of a class in the chart: its unit and grade go before its name unless the scope
// holds only one of them, so that 中心校区 一班 and 东校区 一班 stay two groups
// ("中心校区 初一 一班" over every unit and grade, "一班" within one unit and grade).
std::string classGroupKey(const std::string& unit, const std::string& grade, const std::string& cls,
                          bool oneUnit, bool oneGrade);

// The chart page's grouping of score rows: per group, in order of its first row, the running
// sum and the count of non-zero values of every subject and of the average `pj`.
// A group of one row shows that row's values with two decimals; a larger group the mean of
// its non-zero values with three decimals; a column that is 0 in every row keeps 0.00.
// Running sums are kept to two decimals after each addition.
class ChartGrouping {
 public:
  explicit ChartGrouping(std::size_t subjects) : subjects_(subjects) {}

  // `scores` holds one value per subject.
  void add(const std::string& key, std::span<const double> scores, double average);

  // "单位"; each subject and "参考人数"; "综合" and "参考人数"; each subject; "平均成绩".
  web::ClientDataSet workingTable(const std::vector<std::string>& subjectNames) const;
  // "单位", each subject, "整体": the group key and its averages.
  web::ClientDataSet chartTable(const std::vector<std::string>& subjectNames) const;

 private:
  struct Column {
    double first = 0;  // the first row's value, shown while the group has one row
    double sum = 0;
    int count = 0;  // non-zero values
  };
  struct Group {
    std::string key;
    int rows = 0;
    std::vector<Column> columns;  // the subjects, then pj
  };

  static std::string sumText(const Group& group, const Column& column);
  static std::string averageText(const Group& group, const Column& column);

  std::size_t subjects_;
  std::vector<Group> groups_;
  std::unordered_map<std::string, std::size_t> groupOfKey_;
};

}  // namespace zeziza::pages
