#pragma once

#include <array>
#include <string>
#include <vector>

namespace zeziza::spreadsheet {

// What an exported sheet holds: heading rows of texts, then one row per result row with the
// values of the named result columns, in this order.
struct SheetLayout {
  std::vector<std::vector<std::string>> headingRows;
  std::vector<std::string> columns;
};

// The roster: "考号", 学校, 姓名, 年级, 班次 over the roster result's columns.
SheetLayout rosterLayout();

// The texts chosen in the score query's exam, unit, grade and class filters.
using QueryScopeTexts = std::array<std::string, 4>;

// The score query: a first row "查询范围:" with the four filter texts, a row of captions,
// then the fixed columns, one column per subject (named after it), 总分, 平均分 and 缺考.
SheetLayout scoreQueryLayout(const QueryScopeTexts& scope,
                             const std::vector<std::string>& subjects);

}  // namespace zeziza::spreadsheet
