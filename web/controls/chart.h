#pragma once

#include <string>
#include <vector>

#include "web/control.h"

namespace zeziza::web {

// A table the browser draws from: column names and rows of text cells. It reaches the
// browser as JSON inside the control that shows it, so no value can break the page.
struct ClientDataSet {
  std::vector<std::string> Columns;
  std::vector<std::vector<std::string>> Rows;  // empty rows are left out when sent

  void clear() {
    Columns.clear();
    Rows.clear();
  }
};

// A bar chart drawn in the browser (script resource chart.js): for each distinct value of
// the category column, in row order, one bar whose height is the sum of the value column over
// its rows relative to the largest sum, in the colours in turn, with the value written in the
// bar. The legend on the left lists each bar's colour, value and category under
// "图例 - " + the category column's name.
class DynamicChart : public Control {
 public:
  using Control::Control;
  const ClientDataSet* DataSet = nullptr;
  std::string CategoryColumn;
  std::string ValueColumn;
  std::vector<std::string> Colors;
  bool ShowValues = true;
  bool ShowLegend = true;
  int LegendWidth = 191;  // pixels

  void render(HtmlWriter& out) const override;
  void collectScript(ClientScriptState& state) const override;
};

// A table drawn in the browser from a data set: the column names as titles (a click sorts by
// that column, again reverses), a filter band with one text per column, then the rows.
class DynamicGrid : public Control {
 public:
  using Control::Control;
  const ClientDataSet* DataSet = nullptr;

  void render(HtmlWriter& out) const override;
  void collectScript(ClientScriptState& state) const override;
};

// The script resource that draws both.
inline constexpr const char* kChartScript = "chart.js";

}  // namespace zeziza::web
