#include "pages/analysis/score_history_panel.h"

#include "analysis/number_format.h"
#include "pages/common/rights.h"
#include "pages/common/text.h"
#include "store/score_history.h"
#include "store/students.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

std::string pageName(const std::string& pageClass) {
  if (pageClass == "ScoreEntryPage") return "成绩录入";
  if (pageClass == "ClassGridEntryPage") return "班级表格录入";
  if (pageClass == "BatchImportPage") return "成绩导入";
  return pageClass;
}

std::string subjectName(int position) {
  const auto settings = web::currentSession().context().settings().get();
  const auto index = static_cast<std::size_t>(position - 1);
  if (position >= 1 && index < settings->subjects.size()) return settings->subjects[index];
  std::string column = "k";  // a subject no longer in the list: its column
  column += std::to_string(position);
  return column;
}

}  // namespace

ScoreHistoryPanel::ScoreHistoryPanel(web::Container& parent, std::function<std::string()> exam)
    : web::Region(parent, "HistoryPanel"), exam_(std::move(exam)) {
  Css = "bar";
  Caption.Caption = "成绩修改记录  考号:";
  Show.Caption = "查看";
  Changes.Visible = false;
  Changes.Css = "qbk";
  Show.OnClick = [this] { show(); };
}

void ScoreHistoryPanel::showFor(bool allowed) {
  Visible = allowed;
}

void ScoreHistoryPanel::show() {
  if (!requireRights({rights::kSuperAdmin, rights::kAdmin})) return;
  const std::string number = trimmed(Number.Text);
  const auto student = store::findStudent(web::currentSession().dataConnection.db(), number);
  if (!student) {
    Changes.Visible = false;
    Status.Caption = "";
    return web::ShowMessage("考生不存在,请核对后再试！");
  }
  fill(exam_(), student->key);
}

void ScoreHistoryPanel::fill(const std::string& exam, std::int64_t student) {
  const auto entries =
      store::readScoreHistory(web::currentSession().dataConnection.db(), exam, student);
  Status.Caption = entries.empty() ? "没有修改记录" : "共" + std::to_string(entries.size()) + "条";
  Changes.Visible = !entries.empty();
  Changes.setColumnCount(7);
  Changes.setRowCount(static_cast<int>(entries.size()) + 1);
  Changes.clear();
  const char* headers[] = {"时间", "用户", "考试", "科目", "原成绩", "新成绩", "页面"};
  for (int c = 0; c < 7; ++c) Changes.cell(0, c).Text = headers[c];
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto& e = entries[i];
    const int row = static_cast<int>(i) + 1;
    Changes.cell(row, 0).Text = e.changedAt;
    Changes.cell(row, 1).Text = e.change.userName;
    Changes.cell(row, 2).Text = e.change.exam;
    Changes.cell(row, 3).Text = subjectName(e.change.subjectPosition);
    Changes.cell(row, 4).Text = analysis::formatGeneral(e.change.oldValue);
    Changes.cell(row, 5).Text = analysis::formatGeneral(e.change.newValue);
    Changes.cell(row, 6).Text = pageName(e.change.page);
  }
}

}  // namespace zeziza::pages
