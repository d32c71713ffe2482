#include "pages/master/exam_list_section.h"

#include <stdexcept>

#include "pages/common/rights.h"
#include "pages/master/list_entries.h"
#include "store/settings.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

constexpr const char* kDefaultExamMessage = "您不能删除默认考试项目，请先修改默认考试项目再删除！";
constexpr const char* kExamHasScoresMessage =
    "还有该考试项目的成绩信息，请先删除对应的成绩信息，然后才能删除考试项目！";

// Why a stored exam may not be deleted now; read inside the list's transaction.
std::string deletionRefusal(const std::string& exam) {
  auto& session = web::UserSession();
  // Another session may have made it the default since this one signed in.
  if (store::sameEntry(store::readSetting(session.ADOConnection1.db(), store::key::kDefaultExam),
                       exam)) {
    return kDefaultExamMessage;
  }
  session.tem.open("select 1 from cj where ks=? limit 1", {exam});
  return session.tem.recordCount() > 0 ? kExamHasScoresMessage : "";
}

void writeDefaultExam(const std::string& exam) {
  if (!store::writeSetting(web::UserSession().ADOConnection1.db(), store::key::kDefaultExam,
                           exam)) {
    throw std::runtime_error("系统设置表中缺少设置项mrtest，无法保存");
  }
}

}  // namespace

ExamListSection::ExamListSection(web::Container& parent) : web::Region(parent, "ExamsSection") {
  Css = "col";
  Heading.Caption = "考试项目设置";
  Heading.Bold = true;
  HelpBox.Css = "help";
  Help.Lines = {"此处设置考试项目,新增加的项目将自动设置", "",
                "为默认项目，同时取消原来的默认考试设置。"};
  IWButton3.Caption = "增加";
  IWGrid2.Css = "grid qbk";
  IWGrid2.setColumnCount(2);
}

void ExamListSection::load(std::vector<std::string> exams) {
  IWList1.Items = std::move(exams);
  rebuildGrid();
}

void ExamListSection::rebuildGrid() {
  IWGrid2.clear();
  IWGrid2.setRowCount(static_cast<int>(IWList1.Items.size()) + 1);
  IWGrid2.cell(0, 0).Text = "考试项目名称";
  IWGrid2.cell(0, 1).Text = "点击删除";
  for (std::size_t i = 0; i < IWList1.Items.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    IWGrid2.cell(row, 0).Text = IWList1.Items[i];
    IWGrid2.cell(row, 1).Text = "删除";
    IWGrid2.cell(row, 1).Clickable = true;
  }
}

// The page and the session's exam list show what the store holds after the click.
void ExamListSection::takeStored(std::vector<std::string> exams, const std::string& refusal) {
  web::UserSession().exams = exams;
  load(std::move(exams));
  if (!refusal.empty()) web::ShowMessage(refusal);
}

void ExamListSection::add() {
  if (!requireRights({rights::kSuperAdmin, rights::kAdmin})) return;
  const auto name = typedEntry(IWEdit4.Text, "不能添加空字符串");
  if (!name) return;
  auto change = appendEntry(
      sessionList(store::key::kExams), *name,
      {.duplicateMessage = "项目已存在，请检查后修改！", .alsoWrite = writeDefaultExam});
  if (change.written) {
    web::UserSession().defaultExam = *name;
    IWEdit4.Text.clear();
  }
  takeStored(std::move(change.items), change.refusal);
}

void ExamListSection::remove(int row) {
  if (!requireRights({rights::kSuperAdmin, rights::kAdmin})) return;
  const auto index = static_cast<std::size_t>(row - 1);
  if (row < 1 || index >= IWList1.Items.size()) return;
  const std::string name = IWList1.Items[index];
  if (name == web::UserSession().defaultExam) return web::ShowMessage(kDefaultExamMessage);
  auto change = removeEntry(sessionList(store::key::kExams), name, index,
                            [&] { return deletionRefusal(name); });
  takeStored(std::move(change.items), change.refusal);
}

}  // namespace zeziza::pages
