#include "pages/entry/batch_import.h"

#include <functional>

#include "pages/common/rights.h"
#include "pages/entry/batch_import_check.h"
#include "pages/entry/entry_access.h"
#include "pages/entry/exam_in_use.h"
#include "pages/entry/score_entry.h"
#include "pages/entry/score_table_check.h"
#include "pages/entry/score_text.h"
#include "store/score_import.h"
#include "store/settings_cache.h"
#include "store/students.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

// Refused scores listed in one message at most; the rest are counted.
constexpr std::size_t kListedRefusals = 20;

// Each refused score on a line of its own ("2024016 赵博文 物理 999 超过满分100").
std::string refusedScoresText(const std::vector<store::RefusedScore>& refused,
                              const std::function<const std::string&(std::size_t row)>& numberOf) {
  web::Session& session = web::currentSession();
  const auto settings = session.context().settings().get();
  std::string text = "以下成绩不能录入，操作失败：";
  for (std::size_t i = 0; i < refused.size() && i < kListedRefusals; ++i) {
    const store::RefusedScore& r = refused[i];
    const std::string& typed = numberOf(r.row);
    const auto student = store::findStudent(session.dataConnection.db(), typed);
    text += "\n" + refusedScoreText(student ? student->number : typed,
                                    student ? student->name : std::string(),
                                    settings->subjects.at(static_cast<std::size_t>(r.subject - 1)),
                                    r.value, r.fault, r.fullMark);
  }
  if (refused.size() > kListedRefusals) {
    text += "\n……共" + std::to_string(refused.size()) + "个成绩不能录入";
  }
  return text;
}

// The store's answer to an import, told; true when it was written.
bool reportImport(const store::ImportOutcome& outcome,
                  const std::function<const std::string&(std::size_t row)>& numberOf) {
  if (!outcome.refused.empty()) {
    web::ShowMessage(refusedScoresText(outcome.refused, numberOf));
    return false;
  }
  if (outcome.vanished) {
    web::ShowMessage("考生不存在,请核对后再试！");
    return false;
  }
  return true;
}

std::string joined(const std::vector<std::string>& items) {
  std::string text;
  for (const auto& item : items) text += (text.empty() ? "" : "、") + item;
  return text;
}

}  // namespace

BatchImportPage::BatchImportPage() : web::Page("BatchImportPage") {
  Title = "批量导入成绩";
  OnCreate = [this] { onCreate(); };
  importButton.OnClick = [this] { onImport(); };
  tableButton.OnClick = [this] { onTableImport(); };
  backLink.OnClick = [this] { onBack(); };
  header.Css = "bar";
  work.Css = "panel";
  columns.Css = "cols";
  numbersColumn.Css = "col";
  scoresColumn.Css = "col";
  locationTitleCaption.Caption = "当前位置：";
  locationCaption.Caption = "批量导入成绩";
  examTitleCaption.Caption = "当前测试";
  userTitleCaption.Caption = "当前用户：";
  backLink.Caption = "【 返回 】";
  numbersCaption.Caption = "考号[学号]";
  scoresCaption.Caption = "成绩";
  subjectCaption.Caption = "科目";
  numbersMemo.Rows = 20;
  scoresMemo.Rows = 20;
  importButton.Caption = "导入成绩";
  importHelp.Lines = {
      "此功能适用于已有成绩表格，需要将成绩导入系统的情况。",
      "使用说明：",
      "1、从其它来源将考号或学号粘贴至考号[学号]文本框，每个考号一行。",
      "2、从其它来源将成绩粘贴至成绩文本框，每个考号一行。",
      "3、无论考号还是成绩均需严格一一对应、行数一致、不允许出现空行。",
  };
  tableWork.Css = "panel";
  tableCaption.Caption = "多科成绩（含首行列名）";
  tableMemo.Rows = 12;
  tableButton.Caption = "导入多科成绩";
  tableHelp.Lines = {
      "多科导入：在表格软件中选中“考号”列和若干科目列（连同首行列名）复制，粘贴到上面的文本框。",
      "首行须有“考号”和科目名称，顺序不限；每行一个学生，各列以制表符分隔。",
      "空格子或0表示该生该科没有成绩，已有的该科成绩将删除；姓名、学校、班级等列不导入。",
  };
}

// Supervisors only: the score entry page opens the import for them alone.
void BatchImportPage::onCreate() {
  examCaption.Caption = web::currentSession().login.defaultExam;
  if (!entry::requirePage(*this, {rights::kSupervisor}, header, backLink)) return;
  userCaption.Caption = entry::userCaption();
  subjectBox.Items = web::currentSession().context().settings().get()->subjects;
  setFocus(numbersMemo);
}

void BatchImportPage::onImport() {
  if (!requireRights({rights::kSupervisor}) || !entry::examStillDefault(examCaption)) return;
  if (subjectBox.ItemIndex < 0) return web::ShowMessage("请选择录入成绩的科目");
  web::Session& session = web::currentSession();
  const ImportCheck check = checkImport(
      numbersMemo.Lines, scoresMemo.Lines,
      [&](const std::string& n) { return store::numberStored(session.dataConnection.db(), n); });
  if (!check.refusal.empty()) return web::ShowMessage(check.refusal);
  const int subjectCount =
      static_cast<int>(web::currentSession().context().settings().get()->subjects.size());
  try {
    // One transaction: a refused score, a student gone since the check, or a store failure
    // writes nothing.
    const auto outcome = store::importScores(session.dataConnection.db(), examCaption.Caption,
                                             subjectBox.ItemIndex + 1, subjectCount, check.lines,
                                             {session.login.userName, className()});
    if (!reportImport(outcome, [&](std::size_t row) -> const std::string& {
          return check.lines.at(row).studentNumber;
        })) {
      return;
    }
    web::ShowMessage("操作成功！" + writeCountsText(outcome.counts));
  } catch (const std::exception&) {
    return web::ShowMessage("操作错误,指令没有完成");
  }
  scoresMemo.Lines.clear();
}

void BatchImportPage::onTableImport() {
  if (!requireRights({rights::kSupervisor}) || !entry::examStillDefault(examCaption)) return;
  web::Session& session = web::currentSession();
  const auto subjects = session.context().settings().get()->subjects;
  const ScoreTableCheck check = checkScoreTable(
      tableMemo.Lines, subjects,
      [&](const std::string& n) { return store::numberStored(session.dataConnection.db(), n); });
  if (!check.refusal.empty()) return web::ShowMessage(check.refusal);
  try {
    const auto outcome = store::importScoreRows(session.dataConnection.db(), examCaption.Caption,
                                                static_cast<int>(subjects.size()), check.rows,
                                                {session.login.userName, className()});
    if (!reportImport(outcome, [&](std::size_t row) -> const std::string& {
          return check.rows.at(row).studentNumber;
        })) {
      return;
    }
    std::string done = "操作成功！" + writeCountsText(outcome.counts);
    if (!check.ignoredColumns.empty()) done += "（" + joined(check.ignoredColumns) + "列未导入）";
    web::ShowMessage(done);
  } catch (const std::exception&) {
    return web::ShowMessage("操作错误,指令没有完成");
  }
  tableMemo.Lines.clear();
}

void BatchImportPage::onBack() {
  web::currentSession().ShowPage<ScoreEntryPage>();
}

}  // namespace zeziza::pages
