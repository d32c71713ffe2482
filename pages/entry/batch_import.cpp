#include "pages/entry/batch_import.h"

#include "pages/common/rights.h"
#include "pages/entry/batch_import_check.h"
#include "pages/entry/entry_access.h"
#include "pages/entry/score_entry.h"
#include "pages/entry/score_table_check.h"
#include "store/score_import.h"
#include "store/settings_cache.h"
#include "store/students.h"
#include "web/user_session.h"

namespace zeziza::pages {

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
      "首行须有“考号”和科目名称，顺序不限；每行一个学生，各列以制表符分隔，不允许有空格子。",
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
  if (!requireRights({rights::kSupervisor})) return;
  if (subjectBox.ItemIndex < 0) return web::ShowMessage("请选择录入成绩的科目");
  web::Session& session = web::currentSession();
  const ImportCheck check = checkImport(
      numbersMemo.Lines, scoresMemo.Lines,
      [&](const std::string& n) { return store::numberStored(session.dataConnection.db(), n); });
  if (!check.refusal.empty()) return web::ShowMessage(check.refusal);
  const int subjectCount =
      static_cast<int>(web::currentSession().context().settings().get()->subjects.size());
  try {
    // One transaction: a student gone since the check, or a store failure, writes nothing.
    const auto vanished = store::importScores(session.dataConnection.db(), examCaption.Caption,
                                              subjectBox.ItemIndex + 1, subjectCount, check.lines,
                                              {session.login.userName, className()});
    if (vanished) return web::ShowMessage("考生不存在,请核对后再试！");
  } catch (const std::exception&) {
    return web::ShowMessage("操作错误,指令没有完成");
  }
  web::ShowMessage("操作成功！");
  scoresMemo.Lines.clear();
}

void BatchImportPage::onTableImport() {
  if (!requireRights({rights::kSupervisor})) return;
  web::Session& session = web::currentSession();
  const auto subjects = session.context().settings().get()->subjects;
  const ScoreTableCheck check = checkScoreTable(
      tableMemo.Lines, subjects,
      [&](const std::string& n) { return store::numberStored(session.dataConnection.db(), n); });
  if (!check.refusal.empty()) return web::ShowMessage(check.refusal);
  try {
    const auto vanished = store::importScoreRows(session.dataConnection.db(), examCaption.Caption,
                                                 static_cast<int>(subjects.size()), check.rows,
                                                 {session.login.userName, className()});
    if (vanished) return web::ShowMessage("考生不存在,请核对后再试！");
  } catch (const std::exception&) {
    return web::ShowMessage("操作错误,指令没有完成");
  }
  web::ShowMessage("操作成功！已导入" + std::to_string(check.rows.size()) + "名学生的成绩");
  tableMemo.Lines.clear();
}

void BatchImportPage::onBack() {
  web::currentSession().ShowPage<ScoreEntryPage>();
}

}  // namespace zeziza::pages
