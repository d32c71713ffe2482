#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "store/query.h"
#include "web/control.h"

namespace zeziza::web {

struct DBGridColumn {
  std::string DataField;  // result column shown
  std::string Title;
  std::string LinkField;  // for action columns: the value passed to OnClick
  std::function<void(const std::string& value)> OnClick;
  // For action columns: the question asked before the click of row `row` of the result is
  // sent ("确定删除学生 2401005 朱丽？"); none when empty.
  std::function<std::string(const store::Query& result, std::size_t row)> Confirmation;
};

// A table bound to a query: shows RowLimit rows from the query's cursor (or from the first
// row with FromStart); RowLimit 0 shows all rows.
class DBGrid : public Control {
 public:
  using Control::Control;
  store::Query* DataSource = nullptr;
  std::vector<DBGridColumn> Columns;
  std::size_t RowLimit = 0;
  bool FromStart = true;
  std::string Css = "qbk";

  void render(HtmlWriter& out) const override;
  bool hasEvent() const override;
  // The parameter is "<column>:<link value>"; only a value the grid showed is accepted.
  void fire(std::string_view param) override;
  void checkEvent(std::string_view param) const override;

 private:
  void renderRow(HtmlWriter& out, std::size_t row) const;

  mutable std::set<std::string> shownLinks_;
};

}  // namespace zeziza::web
