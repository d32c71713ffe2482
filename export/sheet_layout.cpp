#include "export/sheet_layout.h"

namespace zeziza::spreadsheet {

SheetLayout rosterLayout() {
  // The roster page calls the number 学生编号; the sheet heads it 考号.
  return SheetLayout{{{"考号", "学校", "姓名", "年级", "班次"}},
                     {"学生编号", "学校", "姓名", "年级", "班次"}};
}

SheetLayout scoreQueryLayout(const QueryScopeTexts& scope,
                             const std::vector<std::string>& subjects) {
  SheetLayout layout;
  std::vector<std::string> first{"查询范围:"};
  first.insert(first.end(), scope.begin(), scope.end());
  // The screen's order, so the sheet reads like the page it came from.
  layout.columns = {"考试名称", "考号", "姓名", "学校", "年级", "班次"};
  layout.columns.insert(layout.columns.end(), subjects.begin(), subjects.end());
  layout.columns.push_back("总分");
  layout.columns.push_back("平均分");
  layout.columns.push_back("缺考");  // "(缺N科)" for a student who missed subjects the class sat
  layout.headingRows = {std::move(first), layout.columns};
  return layout;
}

}  // namespace zeziza::spreadsheet
