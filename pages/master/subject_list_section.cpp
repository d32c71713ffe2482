#include "pages/master/subject_list_section.h"

#include "pages/common/rights.h"
#include "pages/master/list_entries.h"
#include "store/settings.h"
#include "web/user_session.h"

namespace zeziza::pages {

SubjectListSection::SubjectListSection(web::Container& parent)
    : web::Region(parent, "SubjectsSection") {
  Css = "col";
  Heading.Caption = "科目设置";
  Heading.Bold = true;
  HelpBox.Css = "help";
  Help.Lines = {"最多可以设置12个科目", "", "信息一经设置，即不可删除、修改", "",
                "除非将系统重置为初始状态"};
  IWButton5.Caption = "增加";
  IWGrid3.Css = "grid qbk";
  IWGrid3.setColumnCount(1);
}

void SubjectListSection::load(std::vector<std::string> subjects) {
  IWList2.Items = std::move(subjects);
  rebuildGrid();
}

void SubjectListSection::rebuildGrid() {
  IWGrid3.clear();
  IWGrid3.setRowCount(static_cast<int>(IWList2.Items.size()) + 1);
  IWGrid3.cell(0, 0).Text = "科目名称";
  for (std::size_t i = 0; i < IWList2.Items.size(); ++i) {
    IWGrid3.cell(static_cast<int>(i) + 1, 0).Text = IWList2.Items[i];
  }
}

void SubjectListSection::add() {
  if (!requireRights({rights::kSuperAdmin, rights::kAdmin})) return;
  const auto name = typedEntry(IWEdit5.Text, "不能添加空字符串");
  if (!name) return;
  auto change = appendEntry(cachedList(store::key::kSubjects), *name,
                            {.duplicateMessage = "科目已存在，请检查后修改！",
                             .limit = kMaxSubjects,
                             .fullMessage = "系统最多可以管理12个科目"});
  if (change.written) IWEdit5.Text.clear();
  load(std::move(change.items));
  if (!change.refusal.empty()) web::ShowMessage(change.refusal);
}

}  // namespace zeziza::pages
